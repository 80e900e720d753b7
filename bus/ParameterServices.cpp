#include "ParameterServices.h"

#include "LittleEndian.h"

#include <algorithm>
#include <cinttypes>

namespace {

namespace Service {
constexpr uint8_t allCount = 1;
constexpr uint8_t count = 2;
constexpr uint8_t parameter = 3;
constexpr uint8_t searchNext = 14;
constexpr uint8_t lastChanged = 15;
} // namespace Service

namespace Sub {
constexpr uint8_t number = 0;
constexpr uint8_t value = 1;
constexpr uint8_t type = 2;
constexpr uint8_t description = 3;
} // namespace Sub

constexpr uint32_t nothingChanged = 0xFFFFFFFF;
constexpr uint16_t highestChangedNumber = 511;

uintptr_t address(const void *pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

} // namespace

bool ParameterServices::readCount(uint32_t fabNumber, uint8_t service, uint16_t *count,
                                  size_t *length)
{
    uint8_t data[TelegramLayer::maxServiceData];
    *length = 0;
    if (!m_context.telegrams.readService(fabNumber, service, 0, nullptr, data, length))
        return false;
    if (*length == 2)
        *count = readLittleEndian16(data);
    return true;
}

bool ParameterServices::writeNumber(uint32_t fabNumber, uint8_t service, uint16_t number)
{
    uint8_t data[2];
    writeLittleEndian16(data, number);
    return m_context.telegrams.writeService(fabNumber, service, Sub::number, nullptr, data, 2)
           == 0;
}

bool ParameterServices::readType(uint32_t fabNumber, BusDataObject *record)
{
    uint8_t data[TelegramLayer::maxServiceData];
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, Service::parameter, Sub::type, nullptr, data,
                                         &length)
        || length != 2) {
        m_context.errorText.set("get service 'parameter type' fails!");
        return false;
    }
    record->DataType = readLittleEndian16(data);
    return true;
}

bool ParameterServices::readValue(uint32_t fabNumber, BusDataObject *record)
{
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, Service::parameter, Sub::value, nullptr,
                                         record->Value, &length)) {
        m_context.errorText.set("get service 'parameter value' fails!");
        return false;
    }
    record->Length = uint8_t(length);
    return true;
}

bool ParameterServices::readDescription(uint32_t fabNumber, BusDataObject *record)
{
    uint8_t data[TelegramLayer::maxServiceData];
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, Service::parameter, Sub::description,
                                         nullptr, data, &length)) {
        m_context.errorText.set("get service 'parameter description' fails!");
        return false;
    }
    std::copy(data, data + std::min<size_t>(length, 4), record->Description);
    return true;
}

int16_t ParameterServices::getNrOfParameter(uint32_t fabNumber, uint8_t which)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: GetNrOfParameter - Parameter: FABNr = %d\n",
                        int(fabNumber));
    uint16_t count = 0;
    size_t length = 0;
    const uint8_t service = which == 0xFF ? Service::allCount : Service::count;
    if (!readCount(fabNumber, service, &count, &length) || length != 2) {
        m_context.errorText.set("get service 'number of all parameter' fails!");
        return -3;
    }
    return int16_t(count);
}

int16_t ParameterServices::getAllParameter(uint32_t fabNumber, BusDataObject *parameters)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry("\nFunction: GetAllParameter - Parameter: FABNr = %d; Parameters = "
                        "0x%08" PRIXPTR " (Ptr)\n",
                        int(fabNumber), address(parameters));
    uint16_t all = 0;
    size_t length = 0;
    if (!readCount(fabNumber, Service::allCount, &all, &length) || length != 2) {
        text.set("get service 'number of all parameter' fails!");
        return -3;
    }
    uint16_t count = 0;
    if (!readCount(fabNumber, Service::count, &count, &length)) {
        text.set("get service 'number of parameter' fails!");
        return -3;
    }
    if (length != 2)
        return -4;
    if (!parameters || count == 0)
        return int16_t(count);
    if (!writeNumber(fabNumber, Service::searchNext, 0xFFFF)) {
        text.set("set service 'search next parameter' fails!");
        return -2;
    }
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t found = 0;
        if (!readCount(fabNumber, Service::searchNext, &found, &length) || length != 2) {
            text.set("get service 'search next parameter' fails!");
            return -3;
        }
        if (int16_t(found) >= int32_t(all))
            continue; // the record of a skipped step stays as it was
        BusDataObject &record = parameters[i];
        record.ParamNr = found;
        if (!readType(fabNumber, &record) || !readValue(fabNumber, &record)
            || !readDescription(fabNumber, &record))
            return -3;
    }
    return int16_t(count);
}

uint8_t ParameterServices::getNextParameter(uint32_t fabNumber, uint16_t parameterNumber,
                                            BusDataObject *parameter)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry("\nFunction: GetNextParameter - Parameter: FABNr = %d; ParamNr: %d; "
                        "Parameters = 0x%08" PRIXPTR " (Ptr)\n",
                        int(fabNumber), parameterNumber, address(parameter));
    if (!parameter)
        return 250;
    uint16_t all = 0;
    size_t length = 0;
    if (!readCount(fabNumber, Service::allCount, &all, &length) || length != 2) {
        text.set("get service 'number of all parameter' fails!");
        return 253;
    }
    const uint16_t start = uint16_t(parameterNumber - 1);
    if (start >= all) {
        text.set("Last param in device: %d; start parameter: %d", all, parameterNumber);
        return 247;
    }
    if (!writeNumber(fabNumber, Service::searchNext, start)) {
        text.set("set service 'search next parameter' fails!");
        return 254;
    }
    parameter->ParamNr = start;
    if (!readType(fabNumber, parameter) || !readValue(fabNumber, parameter)
        || !readDescription(fabNumber, parameter))
        return 253;
    return 252;
}

uint8_t ParameterServices::getParameter(uint32_t fabNumber, uint16_t parameterNumber,
                                        BusDataObject *data)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry("\nFunction: GetParameter - Parameter: FABNr = %d; ParamNr = %d; "
                        "Data = 0x%08" PRIXPTR " (Ptr)\n",
                        int(fabNumber), parameterNumber, address(data));
    if (!data)
        return 250;
    uint8_t result = 1;
    if (!writeNumber(fabNumber, Service::parameter, parameterNumber)) {
        text.set("set service 'parameter number' fails!");
        result = 254;
    }
    // Every step runs even after a failed one; the code of the last failure counts.
    if (readType(fabNumber, data))
        data->ParamNr = parameterNumber;
    else
        result = 253;
    if (!readValue(fabNumber, data))
        result = 253;
    if (!readDescription(fabNumber, data))
        result = 253;
    return result;
}

uint8_t ParameterServices::setParameter(uint32_t fabNumber, BusDataObject *data)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry("\nFunction: SetParameter - Parameter: FABNr = %d; ParamNr = %d; "
                        "Data = 0x%08" PRIXPTR " (Ptr)\n",
                        int(fabNumber), data ? data->ParamNr : 0, address(data));
    if (!data)
        return 250;
    if (!writeNumber(fabNumber, Service::parameter, data->ParamNr)) {
        // The device may still have another parameter selected: writing now would change it.
        text.set("set service 'parameter number' fails (Pos=1)!");
        return 254;
    }
    uint8_t answer[TelegramLayer::maxServiceData];
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, Service::parameter, Sub::type, nullptr,
                                         answer, &length)) {
        text.set("get service 'parameter type' fails (Pos=2)!");
        return 253;
    }
    if (length != 2) {
        text.set("get service 'parameter type' fails (Pos=3)!");
        return 253;
    }
    if (readLittleEndian16(answer) != data->DataType) {
        text.set("data type in 'BusDataObject' not identically with device data type!");
        return 251;
    }
    const uint8_t bits = m_context.telegrams.writeService(
        fabNumber, Service::parameter, Sub::value, nullptr, data->Value, data->Length);
    if (bits != 0) {
        text.set("set service 'parameter value' fails! ReturnCode = 0x%02X.", bits);
        return bits == TransferResult::refused ? 249 : 254;
    }
    return 1;
}

int16_t ParameterServices::getLastChangedParameter(uint32_t fabNumber, BusDataObject *parameter)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry("\nFunction: GetLastChangedParameter - Parameter: FABNr = %d; "
                        "Parameter = 0x%08" PRIXPTR " (Ptr)\n",
                        int(fabNumber), address(parameter));
    if (!parameter)
        return -6;
    uint8_t data[TelegramLayer::maxServiceData];
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, Service::lastChanged, 0, nullptr, data,
                                         &length)) {
        text.set("get service 'last changed service' fails!");
        return -3;
    }
    if (length != 4) {
        text.set("invalid size (%d Bytes instead of 4 Bytes) of 'last changed service'!",
                 int(length));
        return -3;
    }
    const uint32_t word = readLittleEndian32(data);
    if (word == nothingChanged) {
        text.set("no parameters changed");
        return -1;
    }
    if ((word >> 24) != Service::parameter)
        return -4;
    if (((word >> 16) & 0xFF) == 0)
        return -8;
    const uint16_t number = std::min<uint16_t>(uint16_t(word & 0xFFFF), highestChangedNumber);
    int16_t result = int16_t(number);
    parameter->ParamNr = number;
    if (!writeNumber(fabNumber, Service::parameter, number)) {
        text.set("set service 'parameter number' fails!");
        result = -2;
    }
    if (!readType(fabNumber, parameter))
        result = -3;
    if (!readValue(fabNumber, parameter))
        result = -3;
    if (!readDescription(fabNumber, parameter))
        result = -3;
    if (result < 0)
        return result;
    uint8_t reset[4];
    writeLittleEndian32(reset, nothingChanged);
    if (m_context.telegrams.writeService(fabNumber, Service::lastChanged, 0, nullptr, reset, 4)
        != 0) {
        text.set("set service 'parameter number' fails!");
        return -2;
    }
    return int16_t(number);
}
