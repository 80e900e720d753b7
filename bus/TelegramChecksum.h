#pragma once

#include <cstddef>
#include <cstdint>

// The checksum byte of a telegram: the low byte of the CRC-16/KERMIT of the bytes before it.
uint8_t TelegramChecksum(const uint8_t *bytes, size_t count);
