#pragma once

#include "BusTransport.h"
#include "DebugLog.h"
#include "ErrorText.h"

#include <cstddef>
#include <cstdint>

// Result bits of an exchange; 0 means a complete answer with a valid checksum.
namespace TransferResult {
constexpr uint8_t refused = 0x01;
constexpr uint8_t timeOut = 0x02;
constexpr uint8_t badChecksum = 0x04;
constexpr uint8_t lineError = 0x08; // also the whole result when no port is open
constexpr uint8_t writeFailed = 0x10;
constexpr uint8_t readFailed = 0x20;
constexpr uint8_t busy = 0x40;
} // namespace TransferResult

// The telegram layer: frames, checksums, the exchange with its time-out, the retry rules of each
// telegram kind, the line echo, and the exchange record each transfer leaves in the error text.
class TelegramLayer
{
public:
    static constexpr size_t maxServiceData = 251;
    static constexpr size_t answerCapacity = 264;

    TelegramLayer(BusTransport &transport, BusClock &clock, ErrorText &errorText, DebugLog &log);

    void setBaudRate(uint32_t baudRate) { m_baudRate = baudRate; }
    // EchoMode: 0xFF means the line returns no echo; any other flag restores echo counting.
    uint8_t setEchoMode(uint8_t flag);

    // Completes telegram[n] with the checksum, sends n + 1 bytes and collects the answer (echo
    // removed, checksum included); answer holds answerCapacity bytes.
    uint8_t transfer(uint8_t *telegram, size_t n, uint8_t *answer, size_t *answerLength);
    // Sends a telegram nobody answers and waits for its echo only.
    uint8_t broadcast(uint8_t *telegram, size_t n);

    // The search telegram: true with the FAB number of a device not yet attached.
    bool search(uint32_t *fabNumber);
    // The attach telegram; the result bits of the last attempt.
    uint8_t attach(uint32_t fabNumber);
    // The sync broadcast; the result bits of the last attempt.
    uint8_t sync(uint8_t type, uint32_t identifier);

    // A write request; address is present only for memory data. More than maxServiceData bytes
    // are refused with writeFailed before anything is sent.
    uint8_t writeService(uint32_t fabNumber, uint8_t code, uint8_t subIndex,
                         const uint32_t *address, const uint8_t *data, size_t length);
    // A read request; data receives up to maxServiceData bytes.
    bool readService(uint32_t fabNumber, uint8_t code, uint8_t subIndex, const uint32_t *address,
                     uint8_t *data, size_t *length);

private:
    uint32_t baudFactor() const;
    uint8_t serviceTransfer(uint8_t *telegram, size_t n, uint8_t *answer, size_t *answerLength);
    void record(uint8_t bits, size_t echo, size_t answerLength, const uint8_t *bytes,
                size_t count, uint32_t elapsed);

    BusTransport &m_transport;
    BusClock &m_clock;
    ErrorText &m_errorText;
    DebugLog &m_log;
    uint32_t m_baudRate = 57600;
    uint8_t m_echo = 0;
};
