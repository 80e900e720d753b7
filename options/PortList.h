#pragma once

#include <QList>
#include <QString>

// The serial ports the bus library reports present, with the device each one is.
namespace PortList {

struct Port
{
    qint16 number = 0; // COM number, 1..8
    QString text;      // "COM3 (/dev/ttyUSB0)"
};

// One port for every set bit of the library's port mask: bit i is COM(i + 1).
QList<Port> fromMask(quint8 mask);
// The device path the bus library opens for COM number.
QString devicePath(qint16 number);
bool contains(quint8 mask, qint16 number);

} // namespace PortList
