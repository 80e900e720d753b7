#pragma once

#include <QString>

class IniFile;
class QWidget;

// Keeps a window's state, position and size in the INI section named by its tag
// (the window's objectName).
void SaveFormPosition(IniFile &ini, const QWidget *window);
void RestoreFormPosition(const IniFile &ini, QWidget *window, qint16 defaultHeight,
                         qint16 defaultWidth, qint16 defaultState);
