#pragma once

#include "sync/ParameterRecord.h"

#include <QString>

#include <cstdint>

// Reading and writing one parameter of an attached instrument, addressed by its FAB number:
// the bus library's GetParameter and SetParameter, or a test double.
class InstrumentParameters
{
public:
    virtual ~InstrumentParameters() = default;

    // True when the library answered 1.
    virtual bool getParameter(uint32_t fabNumber, uint16_t number, ParameterRecord &record) = 0;
    virtual bool setParameter(uint32_t fabNumber, const ParameterRecord &record) = 0;
    // The library's error text after a failed call.
    virtual QString lastError() = 0;
    // Lets the user interface run between instruments (keep-alive, cancel).
    virtual void yield() {}
};
