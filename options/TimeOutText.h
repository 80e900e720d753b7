#pragma once

#include <QString>

// The bus time-out as the user types it, in milliseconds.
namespace TimeOutText {

constexpr qint16 defaultTimeOut = 3000;
constexpr qint16 shortest = 500;
constexpr qint16 longest = 30000;

// Empty or non-numeric text gives the default; numbers are rounded and held to
// shortest..longest.
qint16 parse(const QString &text);

} // namespace TimeOutText
