#include "HandleRecord.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string recordFile()
{
    for (const char *variable : {"XDG_RUNTIME_DIR", "LUMETRA4_HOME", "HOME"}) {
        if (const char *folder = std::getenv(variable); folder && *folder)
            return std::string(folder) + "/vlm_bus.HANDLE";
    }
    return "vlm_bus.HANDLE";
}

} // namespace

namespace HandleRecord {

void write(uint32_t handle)
{
    if (FILE *file = std::fopen(recordFile().c_str(), "w")) {
        std::fprintf(file, "HANDLE=%u\n", handle);
        std::fclose(file);
    }
}

void remove()
{
    std::remove(recordFile().c_str());
}

uint32_t read()
{
    unsigned handle = 0;
    if (FILE *file = std::fopen(recordFile().c_str(), "r")) {
        if (std::fscanf(file, "HANDLE=%u", &handle) != 1)
            handle = 0;
        std::fclose(file);
    }
    return handle;
}

} // namespace HandleRecord
