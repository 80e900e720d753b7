#pragma once

#include <QString>

class QFont;
class QWidget;

// Gives font the character set of the locale's font table; with tahoma set, the family of the
// classic dialog font first. A locale with a font of its own (East Asian) overrides both.
void SetFontCharset(QFont &font, int localeId, bool tahoma);

// Adapts the window's font and every child widget's font to the user's locale. The window's
// own font always takes the dialog family; the children only when tahoma is set.
bool ApplyLocaleFont(QWidget *window, bool tahoma);

// The family that stands for the classic dialog font on this system.
QString dialogFontFamily();
