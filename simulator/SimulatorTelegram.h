#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Telegram frames as the instrument side reads and writes them.
namespace SimulatorTelegram {

constexpr uint8_t searchKind = 0x00;
constexpr uint8_t attachKind = 0x80;
constexpr uint8_t syncKind = 0x0F;
constexpr uint8_t requestKind = 0xAA;
constexpr uint8_t answerKind = 0x55;
constexpr uint8_t searchAnswerKind = 0xFF;
constexpr uint8_t writeFlag = 0x40;
constexpr uint8_t statusAccepted = 0x00;
constexpr uint8_t statusBusy = 0x20;
constexpr uint8_t statusRefused = 0x40;

// The low byte of the CRC-16/KERMIT of the bytes.
uint8_t checksum(const uint8_t *bytes, size_t count);
// The bytes with their checksum appended.
Bytes framed(Bytes bytes);
// Whether the last byte is the checksum of those before it.
bool hasValidChecksum(const Bytes &telegram);
// The length of the telegram at the front of buffer: 0 while its length is not yet known,
// 1 for a byte that starts no telegram (noise, to be dropped).
size_t frameLength(const uint8_t *buffer, size_t available);
// A service answer: 0x55, FAB number, status, length, data, checksum.
Bytes serviceAnswer(uint32_t fabNumber, uint8_t status, const Bytes &data);

void appendLittleEndian(Bytes &bytes, uint32_t value, size_t width);

} // namespace SimulatorTelegram
