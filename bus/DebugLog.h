#pragma once

#include <cstdint>
#include <cstdio>

// The communication log a user sends in when an instrument misbehaves: "DEBUG_DLL.TXT" in the
// current directory, or the file VLM_BUS_DEBUG_LOG names. One entry line per export call (unless
// suppressed while StartCommunication or SearchForNewDevices run) and one line per exchange.
class DebugLog
{
public:
    ~DebugLog();

    bool isOn() const { return m_file != nullptr; }
    // The log file's descriptor, 0 while none is open.
    int handleNumber() const;
    // Opens (truncates) the file and writes its header; false when it cannot be created.
    bool open();
    void close();

    void setSuppressed(bool suppressed) { m_suppressed = suppressed; }
    bool isSuppressed() const { return m_suppressed; }

    // An export's entry line: written only when the log is on and not suppressed.
    void entry(const char *format, ...) __attribute__((format(printf, 2, 3)));
    // An exchange line: written whenever the log is on.
    void exchange(uint32_t tick, uint32_t elapsed, const char *record);

private:
    FILE *m_file = nullptr;
    bool m_suppressed = false;
};
