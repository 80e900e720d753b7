#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Reading and writing the instrument's little-endian numbers in byte buffers.
namespace LittleEndian {

inline uint16_t u16(const uint8_t *bytes)
{
    return uint16_t(bytes[0] | (bytes[1] << 8));
}

inline uint32_t u32(const uint8_t *bytes)
{
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16)
           | (uint32_t(bytes[3]) << 24);
}

inline float single(const uint8_t *bytes)
{
    return std::bit_cast<float>(u32(bytes));
}

inline void put16(uint8_t *bytes, uint16_t value)
{
    bytes[0] = uint8_t(value);
    bytes[1] = uint8_t(value >> 8);
}

inline void put32(uint8_t *bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
}

inline void putSingle(uint8_t *bytes, float value)
{
    put32(bytes, std::bit_cast<uint32_t>(value));
}

} // namespace LittleEndian
