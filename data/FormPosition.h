#pragma once

#include <QString>

class IniFile;

// A window's state and geometry as kept in its INI section, in twips (1440 per inch).
struct FormPlacement
{
    enum State : qint16 { Normal = 0, Minimised = 1, Maximised = 2 };
    qint16 state = Normal;
    qint16 left = 0;
    qint16 top = 0;
    qint16 height = 0;
    qint16 width = 0;
};

// Reads key from the window section named by tag.
QString ReadIniValue(const IniFile &ini, const QString &tag, const QString &key,
                     const QString &defaultValue);
// Writes key into the window section named by tag.
bool WriteIniValue(IniFile &ini, const QString &tag, const QString &key, const QString &value);

// A minimised window writes nothing; a maximised one only its state, so the normal geometry
// of an earlier run survives; a normal window writes state, left, top, height and width.
bool SaveFormPosition(IniFile &ini, const QString &tag, const FormPlacement &placement);

// Reads state, left, top, height and width; a missing or non-numeric value (or one beyond
// 16 bits) takes its default.
FormPlacement RestoreFormPosition(const IniFile &ini, const QString &tag, qint16 defaultHeight,
                                  qint16 defaultWidth, qint16 defaultState);

// Twips <-> device pixels at the given dots per inch.
int twipsToPixels(int twips, double dpi);
int pixelsToTwips(int pixels, double dpi);
