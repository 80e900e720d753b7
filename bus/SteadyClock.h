#pragma once

#include "BusTransport.h"

// The monotonic clock of the system.
class SteadyClock : public BusClock
{
public:
    uint32_t milliseconds() override;
    void sleep(uint32_t milliseconds) override;
};
