#include "vlm_mem.h"

#include <bit>
#include <cstring>

// Native values are little-endian too, so the low-order part of a wider value comes first and
// a conversion is a copy of the counted bytes.
static_assert(std::endian::native == std::endian::little, "VLM_MEM needs a little-endian host");

#define VLM_MEM_EXPORT __attribute__((visibility("default")))

extern "C" VLM_MEM_EXPORT uint8_t ConvertMemoryToData(void *destination, const void *source,
                                                      uint8_t count)
{
    if (!destination || !source || (count != 2 && count != 4))
        return 0;
    std::memcpy(destination, source, count);
    return 1;
}

extern "C" VLM_MEM_EXPORT uint8_t ConvertDataToMemory(const void *source, void *destination,
                                                      uint8_t count)
{
    if (!source || !destination || (count != 1 && count != 2 && count != 4))
        return 0;
    std::memcpy(destination, source, count);
    return 1;
}
