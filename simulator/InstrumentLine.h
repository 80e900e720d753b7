#pragma once

#include "SimulatedInstrument.h"

#include <cstdint>
#include <optional>
#include <vector>

// The instruments sharing one serial line, as the PC sees them: a search is answered by the
// first present instrument not yet attached, an addressed telegram by the instrument with that
// FAB number, a sync by every attached one. Requests with a wrong checksum go unanswered, as
// line noise does.
class InstrumentLine
{
public:
    struct Reply
    {
        Bytes bytes;
        uint32_t delayMs = 0;
    };

    void add(SimulatedInstrument instrument) { m_instruments.push_back(std::move(instrument)); }
    std::vector<SimulatedInstrument> &instruments() { return m_instruments; }
    SimulatedInstrument *find(uint32_t fabNumber);

    // The answer to one whole telegram, if anyone answers.
    std::optional<Reply> answer(const Bytes &telegram);
    // The PC closed the port: every instrument falls back out of bus mode.
    void detachAll();

    // Every telegram received, in order, for tests that count attempts.
    const std::vector<Bytes> &received() const { return m_received; }
    void setRecording(bool on) { m_recording = on; }
    uint64_t telegramCount() const { return m_telegrams; }

private:
    std::optional<Reply> answerOf(SimulatedInstrument &instrument, std::optional<Bytes> bytes);

    std::vector<SimulatedInstrument> m_instruments;
    std::vector<Bytes> m_received;
    bool m_recording = true;
    uint64_t m_telegrams = 0;
};
