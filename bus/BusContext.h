#pragma once

#include "BusTransport.h"
#include "DebugLog.h"
#include "ErrorText.h"
#include "TelegramLayer.h"

// What every family of exports shares: the line, the clock, the error text, the debug log and
// the telegram layer over them. One per loaded library.
struct BusContext
{
    BusContext(BusTransport &line, BusClock &timer)
        : transport(line), clock(timer), telegrams(line, timer, errorText, log)
    {}

    BusTransport &transport;
    BusClock &clock;
    ErrorText errorText;
    DebugLog log;
    TelegramLayer telegrams;
};
