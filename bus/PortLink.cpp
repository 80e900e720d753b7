#include "PortLink.h"

#include "PortConfiguration.h"

#include <string>

namespace {

bool isSupportedBaudRate(uint32_t baudRate)
{
    return baudRate == 19200 || baudRate == 38400 || baudRate == 57600 || baudRate == 115200;
}

} // namespace

uint8_t PortLink::setCommPort(uint8_t port)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: SetCommPort - Parameter: SelCommPort = %d\n", port);
    if (isOpen() || port < PortConfiguration::firstPort || port > PortConfiguration::lastPort) {
        m_context.errorText.set("comm port already opened or selected comm port not valid!");
        return 0;
    }
    std::string reason;
    if (!m_context.transport.probe(PortConfiguration::devicePath(port), &reason)) {
        m_context.errorText.set("comm port not available! (COM%d: %s)", port, reason.c_str());
        return 0;
    }
    m_port = port;
    return 1;
}

uint8_t PortLink::setBaudRate(uint32_t baudRate)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: SetBaudRate - Parameter: SelBaudRate = %d\n",
                        int(baudRate));
    if (isOpen() || !isSupportedBaudRate(baudRate)) {
        m_context.errorText.set("comm port already opened or selected baud rate not valid!");
        return 0;
    }
    m_baudRate = baudRate;
    m_context.telegrams.setBaudRate(baudRate);
    return 1;
}

uint8_t PortLink::getAvailableCommPorts()
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: GetAvailableCommPorts - Parameter: None\n");
    uint8_t present = 0;
    for (uint8_t port = PortConfiguration::firstPort; port <= PortConfiguration::lastPort;
         ++port) {
        if (m_context.transport.exists(PortConfiguration::devicePath(port)))
            present |= uint8_t(1u << (port - 1));
    }
    return present;
}

uint8_t PortLink::setDebugMode(uint8_t flag)
{
    DebugLog &log = m_context.log;
    m_context.errorText.set("GlobalFileHandle: %d; DebugFlag: %d; Switch: %d",
                            log.handleNumber(), log.isOn() ? 1 : 0, flag);
    if (flag == 0xFF && !log.isOn())
        return log.open() ? 1 : 0;
    if (flag == 0 && log.isOn())
        log.close();
    return log.isOn() ? 1 : 0;
}

uint8_t PortLink::echoMode(uint8_t flag)
{
    return m_context.telegrams.setEchoMode(flag);
}

bool PortLink::openCommPort()
{
    ErrorText &text = m_context.errorText;
    if (isOpen()) {
        // Left open for the StopCommunication that releases it.
        text.set("comm port already opened! Try to close it.");
        return false;
    }
    std::string reason;
    if (!m_context.transport.open(PortConfiguration::devicePath(m_port), &reason)) {
        text.set("comm port not available! (COM%d: %s)", m_port, reason.c_str());
        return false;
    }
    int errorCode = 0;
    bool buildFailed = false;
    if (!m_context.transport.configure(m_baudRate, &errorCode, &buildFailed)) {
        if (buildFailed)
            text.set("cannot build new DCB! ErrorCode: 0x%X", unsigned(errorCode));
        else
            text.set("Set of new DCB fails! ErrorCode: 0x%X", unsigned(errorCode));
        m_context.transport.close();
        return false;
    }
    return true;
}
