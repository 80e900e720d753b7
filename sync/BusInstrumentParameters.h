#pragma once

#include "bus/client/VlmBusLibrary.h"
#include "sync/InstrumentParameters.h"
#include "sync/ParameterRecord.h"

// The parameters of the attached instruments, through the bus library's GetParameter and
// SetParameter. Its record has the library's own parameter layout.
class BusInstrumentParameters : public InstrumentParameters
{
public:
    explicit BusInstrumentParameters(const VlmBusFunctions &bus);

    bool getParameter(uint32_t fabNumber, uint16_t number, ParameterRecord &record) override;
    bool setParameter(uint32_t fabNumber, const ParameterRecord &record) override;
    QString lastError() override;

private:
    const VlmBusFunctions &m_bus;
};

// The library's error text (GetExtendedErrorInformation).
QString busErrorText(const VlmBusFunctions &bus);

// The program's parameter record and the library's share one layout.
ParameterRecord toParameterRecord(const BusDataObject &data);
BusDataObject toBusDataObject(const ParameterRecord &record);
