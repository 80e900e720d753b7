#pragma once

#include <QString>

#include <cstdint>

// The factory number of an instrument, which is also its bus address: type byte, second byte
// and a 16-bit serial number, most significant first.
namespace FabNumber {

// The instruments this program reads.
constexpr uint8_t lumetra4Type = 63;

inline uint8_t type(uint32_t fab) { return uint8_t(fab >> 24); }

// "063 02 00420": type, second byte and serial number with leading zeros.
QString displayText(uint32_t fab);
// Reads the display text (blanks, dots or dashes between the parts) or a plain number.
bool parse(const QString &text, uint32_t *fab);

} // namespace FabNumber
