#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// A service request the instrument refuses (status 0x40); an absent field matches any value.
struct RefusalRule
{
    std::optional<uint8_t> service; // service code 0-63, without the write flag
    std::optional<uint8_t> subIndex;
    std::optional<bool> write;
};

// Misbehaviour injected into one simulated instrument. Counters count down as they are used.
struct InstrumentFaults
{
    bool silent = false;              // answers nothing at all, not even the search
    uint32_t delayMs = 0;             // every answer comes this much later
    uint32_t busyAnswers = 0;         // the next service requests answered busy (status 0x20)
    uint32_t badChecksums = 0;        // the next answers carry a wrong checksum
    std::vector<RefusalRule> refusals;
    std::optional<uint32_t> foreignFab; // service answers carry this FAB number instead
    bool oversizeLength = false;      // read answers announce and carry 252 data bytes
    uint32_t shortMemory = 0;         // memory reads deliver this many bytes fewer than asked
    std::optional<uint32_t> unplugAfter; // leaves the line after this many telegrams to it
    uint32_t joinAfter = 0;           // joins the line once it has carried this many telegrams
};
