#pragma once

#include "SimulatedInstrument.h"

// The parameter set of a Lumetra 4 as the simulator plays it: one parameter of every type code
// (0 U8 to 8 byte array) besides the three the program uses, 13 firmware number, 71 info block
// address and 72 deletion of the stored tests.
namespace StandardParameters {

void addTo(SimulatedInstrument &instrument);

} // namespace StandardParameters
