#pragma once

#include "InstrumentLine.h"
#include "PseudoTerminalLine.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Instruments on a simulated serial line, run in process: read from a fixture and served on a
// pseudo-terminal by a thread of their own. The PC side opens devicePath() as its serial port.
// The accessors may be called while the line runs; they see the instruments' current state.
class InstrumentSimulator
{
public:
    // Null, with *error naming the file and the fault, when the fixture cannot be used.
    static std::unique_ptr<InstrumentSimulator> fromFixture(const std::string &jsonPath,
                                                            std::string *error);
    static std::unique_ptr<InstrumentSimulator> fromJson(const std::string &jsonText,
                                                         std::string *error);

    explicit InstrumentSimulator(InstrumentLine line, bool echo = true);
    ~InstrumentSimulator();
    InstrumentSimulator(const InstrumentSimulator &) = delete;
    InstrumentSimulator &operator=(const InstrumentSimulator &) = delete;

    // Settings for start(). Without a fixed baud rate, pacing follows the rate the PC sets.
    void setEcho(bool echo) { m_options.echo = echo; }
    bool echo() const { return m_options.echo; }
    void setPace(bool pace) { m_options.pace = pace; }
    void setBaudRate(uint32_t baudRate);
    // Keeps every telegram for receivedTelegrams(); a long-running line turns this off.
    void setRecording(bool on);

    // Opens the pseudo-terminal (once) and serves it on a background thread. False, with
    // error() set, when no pseudo-terminal can be had.
    bool start();
    void stop();
    // The whole line goes away, as a USB adapter pulled out: the PC's port sees a hang-up.
    void unplug();
    bool isRunning() const { return m_running; }
    std::string devicePath() const;
    std::string error() const { return m_error; }

    size_t instrumentCount() const;
    std::vector<uint32_t> fabNumbers() const;
    uint64_t telegramCount() const;
    std::vector<Bytes> receivedTelegrams() const;
    // Attach and service telegrams that reached the instrument; 0 for an unknown FAB number.
    uint32_t telegramsTo(uint32_t fabNumber) const;
    bool isAttached(uint32_t fabNumber) const;
    // Memory type 0-4 of the instrument; empty for an unknown FAB number.
    std::vector<uint8_t> memory(uint32_t fabNumber, int type) const;
    std::optional<std::vector<uint8_t>> parameterValue(uint32_t fabNumber,
                                                       uint16_t number) const;

    // Runs function on the instruments, under the line's lock while it runs: for tests that
    // inspect or change an instrument (its faults, say) in ways the accessors do not cover.
    template<typename Function>
    auto withLine(Function function) const
    {
        if (m_terminal)
            return m_terminal->withLine(function);
        return function(*m_line);
    }

private:
    std::unique_ptr<InstrumentLine> m_line; // until start() hands it to the terminal
    std::unique_ptr<PseudoTerminalLine> m_terminal;
    PseudoTerminalLine::Options m_options;
    bool m_running = false;
    std::string m_error;
};
