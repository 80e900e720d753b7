#pragma once

#include "BusTransport.h"

#include <linux/serial.h>

// The serial line on a POSIX terminal device: a real port or a pseudo-terminal. Settings a
// pseudo-terminal does not support (parity, baud rate) are accepted without complaint.
class TermiosTransport : public BusTransport
{
public:
    ~TermiosTransport() override;

    bool probe(const std::string &path, std::string *error) override;
    bool exists(const std::string &path) override;
    bool open(const std::string &path, std::string *error) override;
    bool configure(uint32_t baudRate, int *errorCode, bool *buildFailed) override;
    bool close() override;
    bool isOpen() const override { return m_fd >= 0; }
    int handleNumber() const override { return m_fd; }

    bool write(const uint8_t *bytes, size_t count, size_t *written) override;
    bool bytesWaiting(size_t *count, bool *lineError, int waitMs) override;
    bool read(uint8_t *bytes, size_t count, size_t *received) override;
    void purge() override;

private:
    int m_fd = -1;
    bool m_countsErrors = false;
    int m_errorCount = 0;
};
