#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

#include <cstdint>

// The conversion library VLM_MEM, bound by name at its first use.
//
// The library is looked for as LUMETRA4_VLM_MEM names it (a file), else as "libvlm_mem.so"
// beside the program, in ../lib beside it, and in the system's library path. When it cannot be
// loaded, or lacks one of its two functions, ensureLoaded() throws RuntimeErrorException with a
// message naming the places searched; callers check it before anything is written to an
// instrument.
class VlmMemLibrary
{
public:
    static VlmMemLibrary &instance();

    // Loads the library unless it is loaded; throws when it cannot be.
    void ensureLoaded();

    // ConvertMemoryToData: false when the library refuses; throws when it cannot be loaded.
    bool memoryToData(void *destination, const void *source, uint8_t count);
    // ConvertDataToMemory: false when the library refuses; throws when it cannot be loaded.
    bool dataToMemory(const void *source, void *destination, uint8_t count);

    // Tests: forget the bound library and look for it as file next time (empty: the search).
    void reset(const QString &file = {});

private:
    VlmMemLibrary() = default;
    QStringList candidates() const;

    using ToData = uint8_t (*)(void *, const void *, uint8_t);
    using ToMemory = uint8_t (*)(const void *, void *, uint8_t);

    QLibrary m_library;
    QString m_file;
    ToData m_toData = nullptr;
    ToMemory m_toMemory = nullptr;
};
