#pragma once

#include "sync/DecodedMemory.h"

#include <QString>

#include <functional>

class InstrumentMemory;

// Reads and decodes the stored tests of the current instrument: info block, main table, block
// headers, whole blocks, then each block's series table and event records, checking every
// checksum.
//
// The read steps return false when a memory read fails (a communication error: the run stores
// nothing) or when stopRequested says so. Memory that fails a check, or breaks the layout (a
// table not of whole entries, end before start, sizes beyond the memory, more than 2 series,
// events or samples outside the block, block lengths that are not whole pages, samples without
// series or sample size, values that are not finite), only makes its block invalid; reads stay
// inside the blocks and every loop is bounded by the layout's constants.
class MemoryDecoder
{
public:
    // More entries than this do not fit any instrument's memory.
    static constexpr uint32_t maxTableEntries = 65536;

    explicit MemoryDecoder(InstrumentMemory &memory, std::function<bool()> stopRequested = {});

    // Starts a new instrument; its firmware number (parameter 13) selects the event decoding.
    void startInstrument(uint32_t firmwareNumber);

    bool ReadInfoBlock(uint32_t infoBlockAddress);
    bool ReadMainTable();
    // advance, when given, is called after each entry with progressStep / number of entries.
    bool ReadBlockHeaders(double progressStep = 0,
                          const std::function<void(double)> &advance = {});
    bool ReadBlock(int k);
    bool ReadSeriesTable(int k);
    bool ReadEvents(int k);

    // All steps in order, for one instrument.
    bool ReadAll(uint32_t firmwareNumber, uint32_t infoBlockAddress);

    const DecodedInstrument &instrument() const { return m_instrument; }
    // Why the last read step failed.
    const QString &lastError() const { return m_lastError; }

private:
    bool stopped() const { return m_stopRequested && m_stopRequested(); }
    // The block of a per-block step, or nullptr when the step ends at once with *result.
    DecodedBlock *blockOfStep(int k, bool *result);
    bool read(uint32_t address, uint32_t length, QByteArray &data);
    bool infoLayoutValid() const;
    bool headerLayoutValid(const DecodedBlock &block) const;
    bool samplesValid(const DecodedBlock &block) const;

    InstrumentMemory &m_memory;
    std::function<bool()> m_stopRequested;
    DecodedInstrument m_instrument;
    QString m_lastError;
};
