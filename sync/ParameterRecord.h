#pragma once

#include <cstddef>
#include <cstdint>

// The parameter record exchanged with the bus library by address (its BusDataObject): number,
// value bytes, length, the device's data type and the description, little-endian, 268 bytes.
struct ParameterRecord
{
    uint16_t number = 0;
    uint8_t value[256] = {};
    uint8_t length = 0; // valid value bytes, at most 251
    uint8_t alignment1 = 0;
    uint16_t dataType = 0; // the low byte is the type code
    uint8_t alignment2[2] = {};
    uint8_t description[4] = {};

    uint8_t typeCode() const { return uint8_t(dataType & 0xFF); }
};

static_assert(sizeof(ParameterRecord) == 268);
static_assert(offsetof(ParameterRecord, value) == 2);
static_assert(offsetof(ParameterRecord, length) == 258);
static_assert(offsetof(ParameterRecord, dataType) == 260);
static_assert(offsetof(ParameterRecord, description) == 264);

// The parameter type codes of the instruments.
namespace ParameterType {
constexpr uint8_t U8 = 0;
constexpr uint8_t S8 = 1;
constexpr uint8_t U16 = 2;
constexpr uint8_t S16 = 3;
constexpr uint8_t U32 = 4;
constexpr uint8_t S32 = 5;
constexpr uint8_t Float = 6;
constexpr uint8_t String = 7;
constexpr uint8_t ByteArray = 8;
} // namespace ParameterType

// The parameters the program uses.
namespace InstrumentParameter {
constexpr uint16_t firmwareNumber = 13;
constexpr uint16_t infoBlockAddress = 71;
constexpr uint16_t deleteStoredTests = 72;
} // namespace InstrumentParameter
