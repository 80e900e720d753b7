#include "options/PortList.h"

#include "bus/PortConfiguration.h"

namespace PortList {

QString devicePath(qint16 number)
{
    return QString::fromStdString(PortConfiguration::devicePath(static_cast<uint8_t>(number)));
}

bool contains(quint8 mask, qint16 number)
{
    return number >= 1 && number <= 8 && (mask & (1u << (number - 1))) != 0;
}

QList<Port> fromMask(quint8 mask)
{
    QList<Port> ports;
    for (qint16 number = 1; number <= 8; ++number) {
        if (contains(mask, number))
            ports.append({number,
                          QStringLiteral("COM%1 (%2)").arg(number).arg(devicePath(number))});
    }
    return ports;
}

} // namespace PortList
