#include "DecodedMemory.h"

#include "sync/image/LittleEndian.h"
#include "sync/image/MemoryLayout.h"

using namespace MemoryLayout;

int DecodedBlock::sampleCount() const
{
    if (header.seriesCount == 0 || header.valuesEnd <= header.valuesStart)
        return 0;
    return int((header.valuesEnd - header.valuesStart) / (sampleSize * header.seriesCount));
}

float DecodedBlock::sample(int s, int index) const
{
    const qsizetype offset = samplesOffset
                             + sampleSize * (s + qsizetype(header.seriesCount) * index);
    return LittleEndian::single(reinterpret_cast<const uint8_t *>(bytes.constData()) + offset);
}
