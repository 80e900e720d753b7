#include "InstrumentLine.h"

#include "sync/image/LittleEndian.h"

using namespace SimulatorTelegram;

SimulatedInstrument *InstrumentLine::find(uint32_t fabNumber)
{
    for (SimulatedInstrument &instrument : m_instruments) {
        if (instrument.fabNumber() == fabNumber)
            return &instrument;
    }
    return nullptr;
}

std::optional<InstrumentLine::Reply> InstrumentLine::answer(const Bytes &telegram)
{
    if (m_recording)
        m_received.push_back(telegram);
    const uint64_t count = m_telegrams++;
    if (telegram.size() < 2 || !hasValidChecksum(telegram))
        return std::nullopt;
    const uint8_t kind = telegram[0];
    if (kind == searchKind) {
        for (SimulatedInstrument &instrument : m_instruments) {
            if (instrument.isPresent(count) && !instrument.isAttached())
                return answerOf(instrument, instrument.answerSearch());
        }
        return std::nullopt;
    }
    if (kind == syncKind && telegram.size() == 7) {
        for (SimulatedInstrument &instrument : m_instruments) {
            if (instrument.isPresent(count))
                instrument.receiveSync(LittleEndian::u32(telegram.data() + 2));
        }
        return std::nullopt;
    }
    if ((kind != attachKind && kind != requestKind) || telegram.size() < 6)
        return std::nullopt;
    SimulatedInstrument *addressed = find(LittleEndian::u32(telegram.data() + 1));
    if (!addressed || !addressed->isPresent(count))
        return std::nullopt;
    if (kind == attachKind)
        return answerOf(*addressed, addressed->answerAttach());
    if (telegram.size() < 9)
        return std::nullopt;
    return answerOf(*addressed, addressed->answerService(telegram));
}

std::optional<InstrumentLine::Reply> InstrumentLine::answerOf(SimulatedInstrument &instrument,
                                                              std::optional<Bytes> bytes)
{
    if (!bytes)
        return std::nullopt;
    return Reply{std::move(*bytes), instrument.faults().delayMs};
}

void InstrumentLine::detachAll()
{
    for (SimulatedInstrument &instrument : m_instruments)
        instrument.detach();
}
