#pragma once

#include "InstrumentLine.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

// The simulated line on a pseudo-terminal: the instruments sit on the master side, the PC opens
// the slave path as its serial port. The line echoes every byte sent (unless told otherwise) and
// the addressed instrument answers each whole telegram. With pacing, echo and answer arrive no
// earlier than their bytes would take at the line's baud rate (11 bits a byte: start, 8 data,
// parity, stop): the rate the PC selected on its side of the line, or a fixed rate.
class PseudoTerminalLine
{
public:
    struct Options
    {
        bool echo = true;
        bool pace = false;
        uint32_t baudRate = 57600; // pacing rate while the PC side has set none
        bool baudRateFixed = false; // pace at baudRate whatever the PC side sets
    };

    PseudoTerminalLine(InstrumentLine line, Options options);
    ~PseudoTerminalLine();
    PseudoTerminalLine(const PseudoTerminalLine &) = delete;
    PseudoTerminalLine &operator=(const PseudoTerminalLine &) = delete;

    bool isValid() const { return m_master >= 0; }
    // Why the pseudo-terminal could not be opened.
    std::string error() const { return m_error; }
    // The slave device the PC opens as its serial port.
    std::string path() const { return m_path; }

    // Serves the line on this thread until stop is set.
    void run(const std::atomic<bool> &stop);
    // Serves the line on a thread of its own until stop() or destruction.
    void start();
    void stop();
    // The line goes away, as a USB adapter pulled out: the PC's port reports a hang-up.
    void unplug();

    // The instruments, for tests that change them while the line runs.
    template<typename Function>
    auto withLine(Function function)
    {
        std::lock_guard guard(m_mutex);
        return function(m_line);
    }

private:
    using Clock = std::chrono::steady_clock;

    void serve(const uint8_t *bytes, size_t count);
    void answerWholeTelegrams(Clock::time_point echoDone);
    void send(const Bytes &bytes, Clock::time_point due);
    Clock::duration wireTime(size_t bytes) const;
    void closeMaster();

    InstrumentLine m_line;
    Options m_options;
    std::mutex m_mutex;
    std::atomic<int> m_master = -1;
    std::string m_path;
    std::string m_error;
    Bytes m_pending;
    Clock::time_point m_lineFree;
    bool m_pcConnected = false;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_unplug = false;
    std::thread m_thread;
};
