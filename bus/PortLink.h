#pragma once

#include "BusContext.h"

#include <cstdint>

// The port and its link settings: which port, which baud rate, opening it with the line
// settings, the debug log switch and the echo setting.
class PortLink
{
public:
    explicit PortLink(BusContext &context) : m_context(context) {}

    uint8_t setCommPort(uint8_t port);
    uint8_t setBaudRate(uint32_t baudRate);
    uint8_t getAvailableCommPorts();
    uint8_t setDebugMode(uint8_t flag);
    uint8_t echoMode(uint8_t flag);

    bool isOpen() const { return m_context.transport.isOpen(); }
    // Opens the selected port with the line settings; a failure leaves a message and no port
    // half open.
    bool openCommPort();
    bool closeCommPort() { return m_context.transport.close(); }

    uint8_t selectedPort() const { return m_port; }
    uint32_t selectedBaudRate() const { return m_baudRate; }

private:
    BusContext &m_context;
    uint8_t m_port = 1;
    uint32_t m_baudRate = 57600;
};
