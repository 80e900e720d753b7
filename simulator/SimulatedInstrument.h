#pragma once

#include "InstrumentFaults.h"
#include "SimulatedParameter.h"
#include "SimulatorTelegram.h"
#include "sync/image/TestDescription.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// One instrument on the simulated line: its parameters, its five memory types, its bus state
// (attached, lock, device time-out, mode, sync identifier) and the faults injected into it.
// Answers are built here; the line decides who is asked.
class SimulatedInstrument
{
public:
    static constexpr int memoryTypes = 5;
    static constexpr uint16_t firmwareParameter = 13;
    static constexpr uint16_t infoBlockParameter = 71;
    static constexpr uint16_t deletionParameter = 72;
    static constexpr uint32_t nothingChanged = 0xFFFFFFFF;

    explicit SimulatedInstrument(uint32_t fabNumber);

    uint32_t fabNumber() const { return m_fab; }

    void setParameter(uint16_t number, SimulatedParameter parameter);
    const SimulatedParameter *parameter(uint16_t number) const;
    const std::map<uint16_t, SimulatedParameter> &parameters() const { return m_parameters; }

    // Memory type 0-4 as a plain byte array; reads beyond its end deliver zeros.
    void setMemory(int type, std::vector<uint8_t> bytes);
    const std::vector<uint8_t> &memory(int type) const { return m_memory.at(size_t(type)); }
    // Lays the tests out in measurement memory and points parameters 13 and 71 at them.
    void setTests(uint32_t firmwareNumber, std::vector<TestDescription> tests);
    const std::vector<TestDescription> &tests() const { return m_tests; }

    // The parameter change the instrument reports through service 15 (none by default).
    void markChanged(uint16_t number);

    InstrumentFaults &faults() { return m_faults; }
    bool isAttached() const { return m_attached; }
    uint16_t timeOut() const { return m_timeOut; }
    uint8_t lock() const { return m_lock; }
    uint32_t syncIdentifier() const { return m_syncIdentifier; }
    // Telegrams addressed to this instrument (attach and service requests) so far.
    uint32_t telegramsReceived() const { return m_telegrams; }

    // Whether the instrument is on the line after lineTelegrams telegrams have passed.
    bool isPresent(uint64_t lineTelegrams) const;
    // The PC side let go of the line: the instrument leaves bus mode.
    void detach() { m_attached = false; }

    std::optional<Bytes> answerSearch();
    std::optional<Bytes> answerAttach();
    void receiveSync(uint32_t identifier);
    std::optional<Bytes> answerService(const Bytes &request);

private:
    bool countTelegram();
    Bytes withChecksumFault(Bytes answer);
    bool refuses(uint8_t code, uint8_t subIndex, bool write) const;
    uint8_t write(uint8_t code, uint8_t subIndex, const Bytes &payload);
    std::optional<Bytes> read(uint8_t code, uint8_t subIndex, const Bytes &payload);
    uint8_t writeParameterValue(const Bytes &value);
    Bytes memoryBlock(int type, uint32_t address) const;
    uint16_t nextParameter(uint16_t after) const;

    uint32_t m_fab;
    std::map<uint16_t, SimulatedParameter> m_parameters;
    std::array<std::vector<uint8_t>, memoryTypes> m_memory;
    std::array<uint8_t, memoryTypes> m_blockLength = {};
    std::vector<TestDescription> m_tests;
    uint32_t m_firmware = 0;
    InstrumentFaults m_faults;

    bool m_attached = false;
    bool m_unplugged = false;
    uint32_t m_telegrams = 0;
    uint8_t m_lock = 0;
    uint8_t m_mode = 0;
    uint16_t m_timeOut = 0;
    uint32_t m_syncIdentifier = 0;
    std::optional<uint16_t> m_selected;
    uint16_t m_searchPosition = 0xFFFF;
    uint32_t m_lastChanged = nothingChanged;
};
