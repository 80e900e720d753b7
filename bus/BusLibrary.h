#pragma once

#include "BusContext.h"
#include "DeviceAdministration.h"
#include "MemoryServices.h"
#include "ParameterServices.h"
#include "PortLink.h"

// One loaded library: its shared state and the families of exports over it. The exported
// functions use one instance over the real serial line; tests build their own over a scripted
// line.
struct BusLibrary
{
    BusLibrary(BusTransport &transport, BusClock &clock)
        : context(transport, clock), link(context), devices(context, link),
          parameters(context), memory(context)
    {}

    BusContext context;
    PortLink link;
    DeviceAdministration devices;
    ParameterServices parameters;
    MemoryServices memory;
};
