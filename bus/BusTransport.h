#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The serial line as the telegram layer sees it. The real one is TermiosTransport; unit tests
// drive the protocol with a scripted one.
class BusTransport
{
public:
    virtual ~BusTransport() = default;

    // Presence test: the device path opens for reading as a terminal; nothing stays open. On
    // failure error holds the reason.
    virtual bool probe(const std::string &path, std::string *error) = 0;
    // The path names a serial device, without opening it.
    virtual bool exists(const std::string &path) = 0;
    // Opens the line exclusively; on failure error holds the reason.
    virtual bool open(const std::string &path, std::string *error) = 0;
    // Line settings: raw, baudRate, 8 data bits, odd parity, 1 stop bit, no flow control.
    // On failure errorCode holds the platform's error number and buildFailed tells whether
    // the settings could not even be read.
    virtual bool configure(uint32_t baudRate, int *errorCode, bool *buildFailed) = 0;
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;
    // The number by which the platform knows the open line (-1 while closed).
    virtual int handleNumber() const = 0;

    // Writes count bytes; written receives how many went out.
    virtual bool write(const uint8_t *bytes, size_t count, size_t *written) = 0;
    // The count of received bytes waiting, and whether the line reported an error since the
    // last look. May block up to waitMs for a first byte. False when the line state cannot be
    // read (for example the device went away).
    virtual bool bytesWaiting(size_t *count, bool *lineError, int waitMs) = 0;
    // Reads up to count waiting bytes without blocking.
    virtual bool read(uint8_t *bytes, size_t count, size_t *received) = 0;
    // Discards everything in the transmit and receive queues.
    virtual void purge() = 0;
};

// Milliseconds and pauses; a test clock makes time-outs instant and exact.
class BusClock
{
public:
    virtual ~BusClock() = default;
    virtual uint32_t milliseconds() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
};
