#pragma once

#include "BusTransport.h"
#include "LittleEndian.h"
#include "TelegramChecksum.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The bytes with their checksum appended.
inline Bytes framed(Bytes bytes)
{
    bytes.push_back(TelegramChecksum(bytes.data(), bytes.size()));
    return bytes;
}

inline Bytes fabBytes(uint32_t fabNumber)
{
    Bytes bytes(4);
    writeLittleEndian32(bytes.data(), fabNumber);
    return bytes;
}

inline Bytes operator+(Bytes left, const Bytes &right)
{
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

// A service answer: 0x55, FAB number, status, length, data, checksum.
inline Bytes serviceAnswer(uint32_t fabNumber, uint8_t status, const Bytes &data)
{
    Bytes bytes{0x55};
    const Bytes fab = fabBytes(fabNumber);
    bytes.insert(bytes.end(), fab.begin(), fab.end());
    bytes.push_back(status);
    bytes.push_back(uint8_t(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return framed(bytes);
}

// A serial line played by the test: every telegram written is recorded and answered by the
// responder (with the echo in front when the line echoes). Time advances one millisecond each
// time it is read, and by every pause, so time-outs are instant and exact.
class ScriptedLine : public BusTransport, public BusClock
{
public:
    std::function<Bytes(const Bytes &request)> responder;
    std::vector<Bytes> written;
    bool echoes = true;
    bool lineStateFails = false;
    bool openFails = false;
    int handle = 42;
    uint32_t now = 1000;

    bool probe(const std::string &, std::string *) override { return true; }
    bool exists(const std::string &) override { return true; }
    bool open(const std::string &, std::string *error) override
    {
        if (openFails) {
            *error = "scripted: no such port";
            return false;
        }
        m_open = true;
        return true;
    }
    bool configure(uint32_t, int *, bool *) override { return true; }
    bool close() override { m_open = false; return true; }
    bool isOpen() const override { return m_open; }
    int handleNumber() const override { return m_open ? handle : -1; }

    bool write(const uint8_t *bytes, size_t count, size_t *done) override
    {
        const Bytes request(bytes, bytes + count);
        written.push_back(request);
        if (echoes)
            m_pending.insert(m_pending.end(), request.begin(), request.end());
        if (responder) {
            const Bytes answer = responder(request);
            m_pending.insert(m_pending.end(), answer.begin(), answer.end());
        }
        *done = count;
        return true;
    }
    bool bytesWaiting(size_t *count, bool *lineError, int) override
    {
        *lineError = false;
        *count = m_pending.size();
        return !lineStateFails;
    }
    bool read(uint8_t *bytes, size_t count, size_t *received) override
    {
        *received = std::min(count, m_pending.size());
        std::copy_n(m_pending.begin(), *received, bytes);
        m_pending.erase(m_pending.begin(), m_pending.begin() + long(*received));
        return true;
    }
    void purge() override { m_pending.clear(); }

    uint32_t milliseconds() override { return now++; }
    void sleep(uint32_t milliseconds) override { now += milliseconds; }

    // The telegrams written whose first bytes are prefix.
    int countWritten(const Bytes &prefix) const
    {
        return int(std::count_if(written.begin(), written.end(), [&](const Bytes &telegram) {
            return telegram.size() >= prefix.size()
                   && std::equal(prefix.begin(), prefix.end(), telegram.begin());
        }));
    }

private:
    bool m_open = false;
    std::deque<uint8_t> m_pending;
};

// Instruments as the scripted line plays them: a search is answered by the first device not yet
// attached, an attach attaches it, writes are accepted and reads answered from a table.
struct ScriptedInstruments
{
    std::vector<uint32_t> waiting;
    std::set<uint32_t> attached;
    std::map<std::pair<uint8_t, uint8_t>, Bytes> reads; // (service, sub-index) -> data

    Bytes operator()(const Bytes &request)
    {
        if (request[0] == 0x00) {
            if (waiting.empty())
                return {};
            return framed(Bytes{0xFF} + fabBytes(waiting.front()));
        }
        const uint32_t fab = readLittleEndian32(request.data() + 1);
        if (request[0] == 0x80) {
            waiting.erase(std::remove(waiting.begin(), waiting.end(), fab), waiting.end());
            attached.insert(fab);
            return framed(Bytes{0x80} + fabBytes(fab));
        }
        if (request[0] != 0xAA)
            return {};
        if (request[5] & 0x40)
            return serviceAnswer(fab, 0, {});
        return serviceAnswer(fab, 0, reads[{request[5], request[6]}]);
    }
};
