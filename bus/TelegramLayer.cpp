#include "TelegramLayer.h"

#include "LittleEndian.h"
#include "TelegramChecksum.h"

#include <algorithm>

namespace {

constexpr uint8_t searchKind = 0x00;
constexpr uint8_t attachKind = 0x80;
constexpr uint8_t syncKind = 0x0F;
constexpr uint8_t requestKind = 0xAA;
constexpr uint8_t answerKind = 0x55;
constexpr uint8_t searchAnswerKind = 0xFF;
constexpr uint8_t writeFlag = 0x40;
constexpr uint8_t statusRefused = 0x40;
constexpr uint8_t statusBusy = 0x20;
constexpr uint32_t shortLimit = 20;
// The longest telegram: request header, address, data and checksum.
constexpr size_t telegramCapacity = 8 + 4 + TelegramLayer::maxServiceData + 1;

uint32_t elapsedSince(BusClock &clock, uint32_t start)
{
    return (clock.milliseconds() - start) & 0xFFFF; // the tick counter's 16-bit difference
}

} // namespace

TelegramLayer::TelegramLayer(BusTransport &transport, BusClock &clock, ErrorText &errorText,
                             DebugLog &log)
    : m_transport(transport), m_clock(clock), m_errorText(errorText), m_log(log)
{}

uint8_t TelegramLayer::setEchoMode(uint8_t flag)
{
    m_echo = flag == 0xFF ? 0xFF : 0;
    return m_echo;
}

uint32_t TelegramLayer::baudFactor() const
{
    switch (m_baudRate) {
    case 38400: return 1;
    case 57600: return 2;
    case 115200: return 3;
    default: return 0;
    }
}

uint8_t TelegramLayer::transfer(uint8_t *telegram, size_t n, uint8_t *answer,
                                size_t *answerLength)
{
    using namespace TransferResult;
    *answerLength = 0;
    if (!m_transport.isOpen())
        return lineError;
    const bool shortTimeOut = telegram[0] == searchKind || telegram[0] == attachKind;
    telegram[n] = TelegramChecksum(telegram, n);

    // The wait below blocks in the kernel until bytes arrive, so the answer is seen as soon as
    // it comes without raising the process priority.
    m_clock.sleep(1);
    m_transport.purge();
    uint8_t bits = 0;
    size_t written = 0;
    if (!m_transport.write(telegram, n + 1, &written))
        bits |= writeFailed;

    const size_t echo = m_echo == 0xFF ? 0 : written;
    size_t expected = echo + 6;
    const auto limitFor = [&](size_t total) {
        return shortTimeOut ? shortLimit : 50 + uint32_t((2 * total) >> baudFactor());
    };
    uint8_t received[telegramCapacity + answerCapacity];
    size_t count = 0;
    bool lineErrors = false;
    uint32_t elapsed = 0;
    const uint32_t start = m_clock.milliseconds();
    for (;;) {
        size_t waiting = 0;
        const int waitMs = int(limitFor(expected) - std::min(elapsed, limitFor(expected)));
        if (!m_transport.bytesWaiting(&waiting, &lineErrors, waitMs)) {
            bits |= lineError;
            lineErrors = false;
        } else if (waiting > 0) {
            const size_t wanted = std::min(waiting, echo + answerCapacity - count);
            size_t got = 0;
            if (!m_transport.read(received + count, wanted, &got))
                bits |= readFailed;
            count += got;
        }
        if (count > echo && received[echo] == answerKind)
            expected = count - echo < 7 ? echo + 8 : echo + 8 + received[echo + 6];
        elapsed = elapsedSince(m_clock, start);
        if (count >= expected || elapsed >= limitFor(expected))
            break;
    }

    const size_t length = count > echo ? count - echo : 0;
    std::copy(received + echo, received + echo + length, answer);
    *answerLength = length;
    if (elapsed >= limitFor(expected))
        bits |= timeOut;
    if (length > 0 && answer[length - 1] != TelegramChecksum(answer, length - 1))
        bits |= badChecksum;
    if (length >= 6 && answer[0] == answerKind) {
        if (answer[5] == statusRefused)
            bits |= refused;
        else if (answer[5] == statusBusy)
            bits |= busy;
    }
    if (lineErrors)
        bits |= lineError;
    record(bits, echo, length, received, count, elapsed);
    return bits;
}

uint8_t TelegramLayer::broadcast(uint8_t *telegram, size_t n)
{
    using namespace TransferResult;
    if (!m_transport.isOpen())
        return lineError;
    telegram[n] = TelegramChecksum(telegram, n);
    m_clock.sleep(1);
    m_transport.purge();
    size_t written = 0;
    m_transport.write(telegram, n + 1, &written); // nobody answers, so nothing to report
    const size_t echo = m_echo == 0xFF ? 0 : written;
    const uint32_t limit = 50 + uint32_t((2 * echo) >> baudFactor());

    uint8_t bits = 0;
    uint8_t received[telegramCapacity];
    size_t count = 0;
    bool lineErrors = false;
    uint32_t elapsed = 0;
    const uint32_t start = m_clock.milliseconds();
    do {
        size_t waiting = 0;
        if (!m_transport.bytesWaiting(&waiting, &lineErrors, int(limit - elapsed))) {
            bits |= lineError;
            lineErrors = false;
        } else if (waiting > 0 && count < echo) {
            size_t got = 0;
            if (!m_transport.read(received + count, std::min(waiting, echo - count), &got))
                bits |= readFailed;
            count += got;
        }
        elapsed = elapsedSince(m_clock, start);
    } while (count < echo && elapsed < limit);
    if (lineErrors)
        bits |= lineError;
    record(bits, echo, 0, received, count, elapsed);
    return bits;
}

void TelegramLayer::record(uint8_t bits, size_t echo, size_t answerLength, const uint8_t *bytes,
                           size_t count, uint32_t elapsed)
{
    m_errorText.set("Error Code: 0x%02X; Send = %d; Received = %d; Data: ", bits, int(echo),
                    int(answerLength));
    for (size_t i = 0; i < count && m_errorText.length() <= 250; ++i)
        m_errorText.append("0x%02X ", bytes[i]);
    m_log.exchange(m_clock.milliseconds(), elapsed, m_errorText.text());
}

bool TelegramLayer::search(uint32_t *fabNumber)
{
    uint8_t telegram[2] = {searchKind};
    uint8_t answer[answerCapacity];
    size_t length = 0;
    uint8_t result = 0;
    int attempts = 0;
    do {
        m_clock.sleep(5);
        result = transfer(telegram, 1, answer, &length);
        ++attempts;
        m_clock.sleep(5);
    } while ((result == TransferResult::timeOut && attempts < 2)
             || (result == TransferResult::badChecksum && attempts < 8));
    if (result != 0 || length != 6 || answer[0] != searchAnswerKind)
        return false;
    *fabNumber = readLittleEndian32(answer + 1);
    return true;
}

uint8_t TelegramLayer::attach(uint32_t fabNumber)
{
    uint8_t telegram[6] = {attachKind};
    writeLittleEndian32(telegram + 1, fabNumber);
    uint8_t answer[answerCapacity];
    size_t length = 0;
    uint8_t result = 0;
    int attempts = 0;
    do {
        result = transfer(telegram, 5, answer, &length);
        ++attempts;
        m_clock.sleep(3);
    } while ((result == TransferResult::timeOut || result == TransferResult::badChecksum)
             && attempts < 2);
    return result;
}

uint8_t TelegramLayer::sync(uint8_t type, uint32_t identifier)
{
    uint8_t telegram[7] = {syncKind, type};
    writeLittleEndian32(telegram + 2, identifier);
    uint8_t result = 0;
    int attempts = 0;
    do {
        result = broadcast(telegram, 6);
        ++attempts;
        m_clock.sleep(3);
    } while (result != 0 && attempts < 2);
    return result;
}

uint8_t TelegramLayer::serviceTransfer(uint8_t *telegram, size_t n, uint8_t *answer,
                                       size_t *answerLength)
{
    using namespace TransferResult;
    uint8_t result = 0;
    int attempts = 0;
    do {
        result = transfer(telegram, n, answer, answerLength);
        ++attempts;
        m_clock.sleep(3);
    } while (((result & (timeOut | badChecksum)) && attempts < 4)
             || ((result & busy) && attempts < 10));
    return result;
}

namespace {

size_t buildRequest(uint8_t *telegram, uint32_t fabNumber, uint8_t code, uint8_t subIndex,
                    const uint32_t *address, const uint8_t *data, size_t length)
{
    telegram[0] = requestKind;
    writeLittleEndian32(telegram + 1, fabNumber);
    telegram[5] = code;
    telegram[6] = subIndex;
    telegram[7] = uint8_t(length + (address ? 4 : 0));
    size_t n = 8;
    if (address) {
        writeLittleEndian32(telegram + n, *address);
        n += 4;
    }
    std::copy(data, data + length, telegram + n);
    return n + length;
}

} // namespace

uint8_t TelegramLayer::writeService(uint32_t fabNumber, uint8_t code, uint8_t subIndex,
                                    const uint32_t *address, const uint8_t *data, size_t length)
{
    if (length > maxServiceData)
        return TransferResult::writeFailed;
    uint8_t telegram[telegramCapacity];
    const size_t n = buildRequest(telegram, fabNumber, uint8_t(code + writeFlag), subIndex,
                                  address, data, length);
    uint8_t answer[answerCapacity];
    size_t answerLength = 0;
    return serviceTransfer(telegram, n, answer, &answerLength);
}

bool TelegramLayer::readService(uint32_t fabNumber, uint8_t code, uint8_t subIndex,
                                const uint32_t *address, uint8_t *data, size_t *length)
{
    uint8_t telegram[telegramCapacity];
    const size_t n = buildRequest(telegram, fabNumber, code, subIndex, address, nullptr, 0);
    uint8_t answer[answerCapacity];
    size_t answerLength = 0;
    if (serviceTransfer(telegram, n, answer, &answerLength) != 0)
        return false;
    if (answerLength < 8 || answer[0] != answerKind
        || readLittleEndian32(answer + 1) != fabNumber)
        return false;
    const size_t dataLength = answer[6];
    // The length byte must fit the protocol and the bytes actually received.
    if (dataLength > maxServiceData || answerLength < 8 + dataLength)
        return false;
    std::copy(answer + 7, answer + 7 + dataLength, data);
    *length = dataLength;
    return true;
}
