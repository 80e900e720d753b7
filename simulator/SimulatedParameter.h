#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One instrument parameter: the device's type code, its value bytes and 4-byte description.
struct SimulatedParameter
{
    uint16_t type = 0;
    std::vector<uint8_t> value;
    std::array<uint8_t, 4> description = {};
    bool readOnly = false;
    std::string name; // for people reading a fixture or a log; the protocol never sends it
};
