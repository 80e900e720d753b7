#pragma once

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>

// What the decoder makes of one instrument's measurement memory.

struct InfoBlock
{
    uint32_t tableStart = 0;
    uint32_t tableEnd = 0; // exclusive
    uint32_t headerLength = 0;
    uint32_t highestValidAddress = 0;
    uint16_t blockLength = 0;
};

struct BlockHeader
{
    uint32_t valuesStart = 0;
    uint32_t valuesEnd = 0;
    uint8_t seriesCount = 0;
    uint16_t measurementNumber = 0;
    uint32_t eventsStart = 0;
    uint32_t eventsEnd = 0;
    uint16_t sampleInterval = 0; // milliseconds
};

struct SeriesEntry
{
    uint16_t nameCode = 0;
    uint8_t unitCode = 0;
    uint8_t bytesPerSample = 0;
};

struct EventRecord
{
    uint8_t code = 0;
    uint8_t day = 0;
    uint8_t month = 0;
    uint16_t year = 0;
    uint8_t second = 0;
    uint8_t minute = 0;
    uint8_t hour = 0;
    double value = 0;
};

// One main-table entry and its block. A block whose checks all passed is valid; its samples
// then lie inside bytes and are finite.
struct DecodedBlock
{
    uint32_t address = 0;
    bool blockValid = false;
    BlockHeader header;
    QByteArray bytes;
    std::array<SeriesEntry, 2> series{};
    std::array<EventRecord, 10> events{};
    int eventCount = 0;

    int sampleCount() const;
    // Sample index of series s, least significant byte first.
    float sample(int s, int index) const;
};

struct DecodedInstrument
{
    uint32_t firmwareNumber = 0;
    InfoBlock info;
    // The info block or the main table breaks the layout: no block could be found or read.
    bool layoutFault = false;
    QList<uint32_t> mainTable;
    QList<DecodedBlock> blocks;
};
