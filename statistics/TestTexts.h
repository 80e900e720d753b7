#pragma once

#include <QColor>
#include <QString>
#include <QVariant>

// How a test's codes read: finding 0 "OK", 1 "bOK", 2 "nOK", 3 and 4 "Messabbruch"; test kinds
// 0-3 by name. Other codes give an empty text.
QString FindingText(const QVariant &befund);
QString TestKindText(const QVariant &pruefart);

// The grid's columns show an unknown code as stored (a finding of 255 as nothing).
QString GridFindingText(const QVariant &befund);
QString GridTestKindText(const QVariant &pruefart);

// The colour of a finding marker: green, yellow, red, white; invalid for "no finding" (the
// marker then takes the frame's colour without border).
QColor FindingColour(const QVariant &befund);
