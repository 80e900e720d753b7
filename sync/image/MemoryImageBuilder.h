#pragma once

#include "MemoryImage.h"
#include "TestDescription.h"

#include <cstdint>
#include <vector>

// Lays test descriptions out in an instrument's measurement memory: info block, main table,
// one block per test (header, series table, event records, interleaved samples) with every
// checksum. Descriptions that the memory cannot hold throw std::invalid_argument.
class MemoryImageBuilder
{
public:
    static constexpr uint32_t infoBlockAddress = 64;
    // Deliberately not on a page boundary, so the main table is read in uneven pieces.
    static constexpr uint32_t tableStart = 1000;

    explicit MemoryImageBuilder(uint32_t firmwareNumber);

    void addTest(const TestDescription &test);
    MemoryImage build() const;

    // The block length that holds the largest test, in whole pages.
    uint32_t blockLength() const;

private:
    void writeBlock(uint8_t *block, uint32_t address, uint32_t highestValidAddress,
                    const TestDescription &test) const;
    std::vector<std::vector<uint8_t>> eventRecords(const TestDescription &test) const;

    uint32_t m_firmwareNumber;
    std::vector<TestDescription> m_tests;
};
