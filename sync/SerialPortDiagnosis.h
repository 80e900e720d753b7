#pragma once

#include <QString>

#include <cstdint>

// Why a serial port cannot be opened, told the way a user can act on it.
namespace SerialPortDiagnosis {

enum class Cause {
    None,          // the device opens
    NoDevice,      // nothing at the device path (cable, adapter, port mapping)
    NoPermission,  // the user may not use it (not in the dialout group)
    Busy,          // another program holds it (often ModemManager with USB adapters)
    Other,
};

// Tries the device path of port (1-8) the way the bus library maps it.
Cause diagnose(uint8_t port, QString *devicePath = nullptr);
// The localised advice for a cause, naming the device; empty for None.
QString advice(Cause cause, const QString &devicePath);

} // namespace SerialPortDiagnosis

// "The port COMn is not available!" with the advice for why, when one is found.
QString portUnavailableText(int port);

namespace SerialPortDiagnosis {

} // namespace SerialPortDiagnosis
