#pragma once

#include "BusContext.h"
#include "vlm_bus.h"

#include <cstdint>

// The parameter exports: counts, the search through all parameters, reading and writing one
// parameter, and the last changed parameter. Values are passed through uninterpreted.
class ParameterServices
{
public:
    explicit ParameterServices(BusContext &context) : m_context(context) {}

    int16_t getNrOfParameter(uint32_t fabNumber, uint8_t which);
    int16_t getAllParameter(uint32_t fabNumber, BusDataObject *parameters);
    uint8_t getNextParameter(uint32_t fabNumber, uint16_t parameterNumber,
                             BusDataObject *parameter);
    uint8_t getParameter(uint32_t fabNumber, uint16_t parameterNumber, BusDataObject *data);
    uint8_t setParameter(uint32_t fabNumber, BusDataObject *data);
    int16_t getLastChangedParameter(uint32_t fabNumber, BusDataObject *parameter);

private:
    // Service 3 sub-indices 2, 1 and 3 into the record; each false leaves its message.
    bool readType(uint32_t fabNumber, BusDataObject *record);
    bool readValue(uint32_t fabNumber, BusDataObject *record);
    bool readDescription(uint32_t fabNumber, BusDataObject *record);
    bool readCount(uint32_t fabNumber, uint8_t service, uint16_t *count, size_t *length);
    bool writeNumber(uint32_t fabNumber, uint8_t service, uint16_t number);

    BusContext &m_context;
};
