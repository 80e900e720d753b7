#include "SimulatorTelegram.h"

#include "sync/image/Crc16Kermit.h"

namespace SimulatorTelegram {

uint8_t checksum(const uint8_t *bytes, size_t count)
{
    return uint8_t(crc16Kermit(bytes, count));
}

Bytes framed(Bytes bytes)
{
    bytes.push_back(checksum(bytes.data(), bytes.size()));
    return bytes;
}

bool hasValidChecksum(const Bytes &telegram)
{
    return !telegram.empty()
           && telegram.back() == checksum(telegram.data(), telegram.size() - 1);
}

size_t frameLength(const uint8_t *buffer, size_t available)
{
    if (available == 0)
        return 0;
    switch (buffer[0]) {
    case searchKind: return 2;
    case attachKind: return 6;
    case syncKind: return 7;
    case requestKind: return available >= 8 ? size_t(9 + buffer[7]) : 0;
    default: return 1;
    }
}

Bytes serviceAnswer(uint32_t fabNumber, uint8_t status, const Bytes &data)
{
    Bytes bytes{answerKind};
    appendLittleEndian(bytes, fabNumber, 4);
    bytes.push_back(status);
    bytes.push_back(uint8_t(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return framed(bytes);
}

void appendLittleEndian(Bytes &bytes, uint32_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
}

} // namespace SimulatorTelegram
