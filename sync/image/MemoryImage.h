#pragma once

#include <cstdint>
#include <vector>

// The measurement memory of one instrument from address 0, with the two parameters that lead
// a reader into it: 13 (firmware number) and 71 (address of the info block).
struct MemoryImage
{
    uint32_t firmwareNumber = 0;
    uint32_t infoBlockAddress = 0;
    std::vector<uint8_t> memory;
};
