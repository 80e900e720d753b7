#include "StandardParameters.h"

#include <bit>
#include <cstring>

namespace {

std::vector<uint8_t> littleEndian(uint32_t value, size_t width)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < width; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
    return bytes;
}

std::vector<uint8_t> text(const char *value)
{
    return std::vector<uint8_t>(value, value + std::strlen(value));
}

} // namespace

namespace StandardParameters {

void addTo(SimulatedInstrument &instrument)
{
    // Description bytes: access (1 read-only, 3 read and write), then three reserved bytes.
    const std::array<uint8_t, 4> readOnly = {1, 0, 0, 0};
    const std::array<uint8_t, 4> readWrite = {3, 0, 0, 0};
    const auto add = [&](uint16_t number, uint16_t type, std::vector<uint8_t> value,
                         bool isReadOnly, const char *name) {
        instrument.setParameter(number, {type, std::move(value),
                                         isReadOnly ? readOnly : readWrite, isReadOnly, name});
    };
    add(1, 0, {uint8_t(instrument.fabNumber() >> 24)}, true, "device type");
    add(2, 0, {4}, false, "display contrast");
    add(3, 1, {uint8_t(-3)}, false, "temperature offset");
    add(4, 2, littleEndian(30, 2), false, "switch-off time (min)");
    add(5, 3, littleEndian(uint16_t(-120), 2), false, "pressure zero offset");
    add(6, 4, littleEndian(86400, 4), false, "operating seconds");
    add(7, 5, littleEndian(uint32_t(-7200), 4), false, "clock correction (s)");
    add(8, 6, littleEndian(std::bit_cast<uint32_t>(1013.25f), 4), false, "air pressure");
    add(9, 7, text("Lumetra 4"), false, "device name");
    add(10, 8, {0xDE, 0xAD, 0xBE, 0xEF, 0x01}, true, "calibration data");
    add(13, 4, littleEndian(0, 4), true, "firmware number");
    add(71, 4, littleEndian(0, 4), true, "info block address");
    add(72, 2, littleEndian(0, 2), false, "delete stored tests");
}

} // namespace StandardParameters
