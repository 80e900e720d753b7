#include "sync/BusInstrumentParameters.h"

#include <algorithm>
#include <cstring>

static_assert(sizeof(ParameterRecord) == sizeof(BusDataObject));
static_assert(offsetof(ParameterRecord, value) == offsetof(BusDataObject, Value));
static_assert(offsetof(ParameterRecord, length) == offsetof(BusDataObject, Length));
static_assert(offsetof(ParameterRecord, dataType) == offsetof(BusDataObject, DataType));
static_assert(offsetof(ParameterRecord, description) == offsetof(BusDataObject, Description));

QString busErrorText(const VlmBusFunctions &bus)
{
    char text[256] = {};
    const int32_t length = bus.GetExtendedErrorInformation(text);
    return QString::fromLatin1(text, std::clamp(int(length), 0, 255));
}

ParameterRecord toParameterRecord(const BusDataObject &data)
{
    ParameterRecord record;
    std::memcpy(static_cast<void *>(&record), &data, sizeof data);
    return record;
}

BusDataObject toBusDataObject(const ParameterRecord &record)
{
    BusDataObject data;
    std::memcpy(&data, static_cast<const void *>(&record), sizeof data);
    return data;
}

BusInstrumentParameters::BusInstrumentParameters(const VlmBusFunctions &bus)
    : m_bus(bus)
{}

bool BusInstrumentParameters::getParameter(uint32_t fabNumber, uint16_t number,
                                           ParameterRecord &record)
{
    BusDataObject data{};
    const bool ok = m_bus.GetParameter(fabNumber, number, &data) == 1;
    if (ok)
        record = toParameterRecord(data);
    return ok;
}

bool BusInstrumentParameters::setParameter(uint32_t fabNumber, const ParameterRecord &record)
{
    BusDataObject data = toBusDataObject(record);
    return m_bus.SetParameter(fabNumber, &data) == 1;
}

QString BusInstrumentParameters::lastError()
{
    return busErrorText(m_bus);
}
