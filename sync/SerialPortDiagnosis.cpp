#include "sync/SerialPortDiagnosis.h"

#include "PortConfiguration.h"
#include "data/StringTable.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

SerialPortDiagnosis::Cause SerialPortDiagnosis::diagnose(uint8_t port, QString *devicePath)
{
    const QString path = QString::fromStdString(PortConfiguration::devicePath(port));
    if (devicePath)
        *devicePath = path;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return Cause::NoDevice;
        case EACCES:
        case EPERM:
            return Cause::NoPermission;
        case EBUSY:
            return Cause::Busy;
        default:
            return Cause::Other;
        }
    }
    // A port another program opened exclusively (as ModemManager does) refuses a second user.
    const bool exclusive = ::ioctl(fd, TIOCEXCL) != 0 && errno == EBUSY;
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return exclusive ? Cause::Busy : Cause::None;
}

QString SerialPortDiagnosis::advice(Cause cause, const QString &devicePath)
{
    switch (cause) {
    case Cause::NoDevice:
        return resString(27080).arg(devicePath);
    case Cause::NoPermission:
        return resString(27081).arg(devicePath);
    case Cause::Busy:
        return resString(27082).arg(devicePath);
    case Cause::None:
    case Cause::Other:
        break;
    }
    return {};
}

QString portUnavailableText(int port)
{
    QString device;
    const QString advice = SerialPortDiagnosis::advice(
        SerialPortDiagnosis::diagnose(uint8_t(port), &device), device);
    QString text = resString(27008) + QString::number(port) + resString(27009);
    if (!advice.isEmpty())
        text += QStringLiteral("\n\n") + advice;
    return text;
}
