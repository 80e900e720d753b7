#pragma once

#include <cstddef>
#include <cstdint>

// The checksum of every structure in the instrument's memory: CRC-16/KERMIT (polynomial 0x1021
// reflected, initial value 0, no final XOR), stored low byte first.
uint16_t crc16Kermit(const uint8_t *bytes, size_t length);
