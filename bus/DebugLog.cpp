#include "DebugLog.h"

#include <cstdarg>
#include <cstdlib>
#include <ctime>

DebugLog::~DebugLog()
{
    close();
}

int DebugLog::handleNumber() const
{
    return m_file ? fileno(m_file) : 0;
}

bool DebugLog::open()
{
    const char *path = std::getenv("VLM_BUS_DEBUG_LOG");
    m_file = std::fopen(path && *path ? path : "DEBUG_DLL.TXT", "w");
    if (!m_file)
        return false;
    const time_t now = std::time(nullptr);
    tm local = {};
    localtime_r(&now, &local);
    char stamp[64] = {};
    asctime_r(&local, stamp); // 24 characters and a newline
    std::fprintf(m_file, "Debug print from 'VLM_BUS.DLL'\n%s\n", stamp);
    return true;
}

void DebugLog::close()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

void DebugLog::entry(const char *format, ...)
{
    if (!m_file || m_suppressed)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(m_file, format, arguments);
    va_end(arguments);
}

void DebugLog::exchange(uint32_t tick, uint32_t elapsed, const char *record)
{
    if (m_file)
        std::fprintf(m_file, "Time-Stamp: %d; Send/Receive time: %dms - %s\n", int(tick),
                     int(elapsed), record);
}
