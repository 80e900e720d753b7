#include "SimulatedInstrument.h"

#include "sync/image/LittleEndian.h"
#include "sync/image/MemoryImageBuilder.h"

#include <algorithm>

using namespace SimulatorTelegram;

namespace {

constexpr uint8_t busStateService = 0;
constexpr uint8_t allParametersService = 1;
constexpr uint8_t parameterCountService = 2;
constexpr uint8_t parameterService = 3;
constexpr uint8_t searchNextService = 14;
constexpr uint8_t lastChangedService = 15;
constexpr uint8_t deviceModeService = 16;
constexpr uint8_t firstMemoryService = 32;
constexpr uint8_t syncIdService = 60;
constexpr uint8_t timeOutService = 61;
constexpr uint8_t fabNumberService = 62;
constexpr uint8_t lockService = 63;
constexpr size_t maxData = 251;
constexpr size_t oversizeData = 252;

// The value length a parameter type demands; 0 for the variable-length types.
size_t fixedLength(uint16_t type)
{
    switch (type & 0xFF) {
    case 0: case 1: return 1;
    case 2: case 3: return 2;
    case 4: case 5: case 6: return 4;
    default: return 0;
    }
}

uint32_t littleEndianNumber(const Bytes &bytes)
{
    uint32_t value = 0;
    for (size_t i = std::min<size_t>(bytes.size(), 4); i > 0; --i)
        value = value << 8 | bytes[i - 1];
    return value;
}

Bytes number(uint32_t value, size_t width)
{
    Bytes bytes;
    appendLittleEndian(bytes, value, width);
    return bytes;
}

} // namespace

SimulatedInstrument::SimulatedInstrument(uint32_t fabNumber) : m_fab(fabNumber) {}

void SimulatedInstrument::setParameter(uint16_t number, SimulatedParameter parameter)
{
    m_parameters[number] = std::move(parameter);
}

const SimulatedParameter *SimulatedInstrument::parameter(uint16_t number) const
{
    const auto found = m_parameters.find(number);
    return found == m_parameters.end() ? nullptr : &found->second;
}

void SimulatedInstrument::setMemory(int type, std::vector<uint8_t> bytes)
{
    m_memory.at(size_t(type)) = std::move(bytes);
}

void SimulatedInstrument::setTests(uint32_t firmwareNumber, std::vector<TestDescription> tests)
{
    MemoryImageBuilder builder(firmwareNumber);
    for (const TestDescription &test : tests)
        builder.addTest(test);
    MemoryImage image = builder.build();
    m_firmware = firmwareNumber;
    m_tests = std::move(tests);
    setMemory(2, std::move(image.memory));
    const auto keep = [this](uint16_t parameterNumber, uint32_t value, const char *name) {
        SimulatedParameter kept{4, {}, {0x01, 0, 0, 0}, true, name};
        if (const SimulatedParameter *known = parameter(parameterNumber))
            kept = *known;
        const size_t width = fixedLength(kept.type) ? fixedLength(kept.type) : 4;
        kept.value = number(value, width);
        setParameter(parameterNumber, kept);
    };
    keep(firmwareParameter, image.firmwareNumber, "firmware number");
    keep(infoBlockParameter, image.infoBlockAddress, "info block address");
}

void SimulatedInstrument::markChanged(uint16_t number)
{
    m_lastChanged = uint32_t(parameterService) << 24 | 1u << 16 | number;
}

bool SimulatedInstrument::isPresent(uint64_t lineTelegrams) const
{
    return !m_faults.silent && !m_unplugged && lineTelegrams >= m_faults.joinAfter;
}

bool SimulatedInstrument::countTelegram()
{
    ++m_telegrams;
    if (m_faults.unplugAfter && m_telegrams > *m_faults.unplugAfter) {
        m_unplugged = true;
        m_attached = false;
    }
    return !m_unplugged;
}

Bytes SimulatedInstrument::withChecksumFault(Bytes answer)
{
    if (m_faults.badChecksums > 0 && !answer.empty()) {
        --m_faults.badChecksums;
        answer.back() ^= 0x5A;
    }
    return answer;
}

std::optional<Bytes> SimulatedInstrument::answerSearch()
{
    if (m_attached)
        return std::nullopt;
    Bytes answer{searchAnswerKind};
    appendLittleEndian(answer, m_fab, 4);
    return withChecksumFault(framed(answer));
}

std::optional<Bytes> SimulatedInstrument::answerAttach()
{
    if (!countTelegram())
        return std::nullopt;
    m_attached = true;
    Bytes answer{attachKind};
    appendLittleEndian(answer, m_fab, 4);
    return withChecksumFault(framed(answer));
}

void SimulatedInstrument::receiveSync(uint32_t identifier)
{
    if (m_attached)
        m_syncIdentifier = identifier;
}

std::optional<Bytes> SimulatedInstrument::answerService(const Bytes &request)
{
    if (!m_attached || !countTelegram())
        return std::nullopt;
    const uint32_t answeringFab = m_faults.foreignFab.value_or(m_fab);
    if (m_faults.busyAnswers > 0) {
        --m_faults.busyAnswers;
        return withChecksumFault(serviceAnswer(answeringFab, statusBusy, {}));
    }
    const uint8_t code = request[5] & 0x3F;
    const bool isWrite = request[5] & writeFlag;
    const uint8_t subIndex = request[6];
    const Bytes payload(request.begin() + 8, request.end() - 1);
    std::optional<Bytes> data;
    uint8_t status = statusRefused;
    if (!refuses(code, subIndex, isWrite)) {
        if (isWrite) {
            status = write(code, subIndex, payload);
            data = Bytes{};
        } else if ((data = read(code, subIndex, payload))) {
            status = statusAccepted;
        }
    }
    Bytes carried = data.value_or(Bytes{});
    if (m_faults.oversizeLength && !isWrite)
        carried.resize(oversizeData, 0);
    Bytes answer = serviceAnswer(answeringFab, status, carried);
    // Taking effect after the answer: the instrument answered under its old number and state.
    if (status == statusAccepted && isWrite && code == fabNumberService && payload.size() == 4)
        m_fab = LittleEndian::u32(payload.data());
    if (status == statusAccepted && isWrite && code == busStateService && payload.size() == 1
        && payload[0] == 0)
        m_attached = false;
    return withChecksumFault(answer);
}

bool SimulatedInstrument::refuses(uint8_t code, uint8_t subIndex, bool isWrite) const
{
    return std::any_of(m_faults.refusals.begin(), m_faults.refusals.end(),
                       [&](const RefusalRule &rule) {
                           return (!rule.service || *rule.service == code)
                                  && (!rule.subIndex || *rule.subIndex == subIndex)
                                  && (!rule.write || *rule.write == isWrite);
                       });
}

uint8_t SimulatedInstrument::write(uint8_t code, uint8_t subIndex, const Bytes &payload)
{
    const auto sized = [&](size_t length) { return payload.size() == length; };
    if (code == busStateService && sized(1))
        return statusAccepted;
    if (code == parameterService && subIndex == 0 && sized(2)) {
        const uint16_t number = LittleEndian::u16(payload.data());
        if (!parameter(number))
            return statusRefused;
        m_selected = number;
        return statusAccepted;
    }
    if (code == parameterService && subIndex == 1)
        return writeParameterValue(payload);
    if (code == searchNextService && sized(2)) {
        m_searchPosition = LittleEndian::u16(payload.data());
        const uint16_t next = nextParameter(m_searchPosition);
        m_selected = next == 0xFFFF ? std::nullopt : std::optional<uint16_t>(next);
        return statusAccepted;
    }
    if (code == lastChangedService && sized(4)) {
        if (LittleEndian::u32(payload.data()) == nothingChanged)
            m_lastChanged = nothingChanged;
        return statusAccepted;
    }
    if (code == deviceModeService && sized(1)) {
        m_mode = payload[0];
        return statusAccepted;
    }
    const int memoryType = code - firstMemoryService;
    if (memoryType >= 0 && memoryType < memoryTypes) {
        if (subIndex == 1 && sized(1)) {
            m_blockLength[size_t(memoryType)] = payload[0];
            return statusAccepted;
        }
        if (subIndex == 0 && payload.size() >= 4) {
            std::vector<uint8_t> &memory = m_memory[size_t(memoryType)];
            const uint64_t address = LittleEndian::u32(payload.data());
            const uint64_t end = address + payload.size() - 4;
            if (end > memory.size())
                return statusRefused; // no memory there to write
            std::copy(payload.begin() + 4, payload.end(), memory.begin() + long(address));
            return statusAccepted;
        }
    }
    if (code == timeOutService && sized(2)) {
        m_timeOut = LittleEndian::u16(payload.data());
        return statusAccepted;
    }
    if (code == fabNumberService && sized(4))
        return statusAccepted;
    if (code == lockService && sized(1)) {
        m_lock = payload[0];
        return statusAccepted;
    }
    return statusRefused;
}

uint8_t SimulatedInstrument::writeParameterValue(const Bytes &value)
{
    if (!m_selected)
        return statusRefused;
    SimulatedParameter &selected = m_parameters[*m_selected];
    const size_t length = fixedLength(selected.type);
    if (selected.readOnly || (length && value.size() != length) || value.size() > maxData)
        return statusRefused;
    if (*m_selected == deletionParameter && littleEndianNumber(value) == 0xFFFF) {
        // Deletes the stored tests; the parameter itself reads 0 again afterwards.
        selected.value.assign(selected.value.size(), 0);
        setTests(m_firmware, {});
        return statusAccepted;
    }
    selected.value = value;
    return statusAccepted;
}

std::optional<Bytes> SimulatedInstrument::read(uint8_t code, uint8_t subIndex,
                                               const Bytes &payload)
{
    switch (code) {
    case allParametersService:
        return number(m_parameters.empty() ? 0 : m_parameters.rbegin()->first + 1u, 2);
    case parameterCountService:
        return number(uint32_t(m_parameters.size()), 2);
    case parameterService: {
        const SimulatedParameter *selected = m_selected ? parameter(*m_selected) : nullptr;
        if (!selected)
            return std::nullopt;
        if (subIndex == 1)
            return selected->value;
        if (subIndex == 2)
            return number(selected->type, 2);
        if (subIndex == 3)
            return Bytes(selected->description.begin(), selected->description.end());
        return std::nullopt;
    }
    case searchNextService: {
        m_searchPosition = nextParameter(m_searchPosition);
        if (m_searchPosition != 0xFFFF)
            m_selected = m_searchPosition;
        return number(m_searchPosition, 2);
    }
    case lastChangedService:
        return number(m_lastChanged, 4);
    case deviceModeService:
        return Bytes{m_mode};
    case syncIdService:
        return number(m_syncIdentifier, 4);
    case timeOutService:
        return number(m_timeOut, 2);
    default:
        break;
    }
    const int memoryType = code - firstMemoryService;
    if (memoryType >= 0 && memoryType < memoryTypes && subIndex == 0 && payload.size() == 4)
        return memoryBlock(memoryType, LittleEndian::u32(payload.data()));
    return std::nullopt;
}

Bytes SimulatedInstrument::memoryBlock(int type, uint32_t address) const
{
    const std::vector<uint8_t> &memory = m_memory[size_t(type)];
    const size_t asked = m_blockLength[size_t(type)];
    Bytes block(asked - std::min<size_t>(asked, m_faults.shortMemory), 0);
    for (size_t i = 0; i < block.size() && address + i < memory.size(); ++i)
        block[i] = memory[address + i];
    return block;
}

uint16_t SimulatedInstrument::nextParameter(uint16_t after) const
{
    // 0xFFFF starts the search from the beginning.
    const auto found = after == 0xFFFF ? m_parameters.begin() : m_parameters.upper_bound(after);
    return found == m_parameters.end() ? 0xFFFF : found->first;
}
