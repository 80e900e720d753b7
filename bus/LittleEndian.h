#pragma once

#include <cstdint>

// Multi-byte numbers in telegrams are little-endian.
inline uint32_t readLittleEndian32(const uint8_t *bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16
           | uint32_t(bytes[3]) << 24;
}

inline uint16_t readLittleEndian16(const uint8_t *bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

inline void writeLittleEndian32(uint8_t *bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
}

inline void writeLittleEndian16(uint8_t *bytes, uint16_t value)
{
    bytes[0] = uint8_t(value);
    bytes[1] = uint8_t(value >> 8);
}
