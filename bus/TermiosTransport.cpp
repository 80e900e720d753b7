#include "TermiosTransport.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t speedFor(uint32_t baudRate)
{
    switch (baudRate) {
    case 19200: return B19200;
    case 38400: return B38400;
    case 115200: return B115200;
    default: return B57600;
    }
}

int lineErrorCount(const serial_icounter_struct &counts)
{
    return counts.frame + counts.parity + counts.overrun + counts.buf_overrun;
}

} // namespace

TermiosTransport::~TermiosTransport()
{
    close();
}

bool TermiosTransport::probe(const std::string &path, std::string *error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    const bool terminal = isatty(fd);
    ::close(fd);
    if (!terminal)
        *error = path + ": not a serial device";
    return terminal;
}

bool TermiosTransport::exists(const std::string &path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

bool TermiosTransport::open(const std::string &path, std::string *error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    if (!isatty(fd)) {
        *error = path + ": not a serial device";
        ::close(fd);
        return false;
    }
    // Exclusive use: a second open of the device by anyone but root fails.
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
        *error = path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    serial_icounter_struct counts = {};
    m_countsErrors = ioctl(fd, TIOCGICOUNT, &counts) == 0;
    m_errorCount = m_countsErrors ? lineErrorCount(counts) : 0;
    m_fd = fd;
    return true;
}

bool TermiosTransport::configure(uint32_t baudRate, int *errorCode, bool *buildFailed)
{
    termios settings = {};
    if (tcgetattr(m_fd, &settings) != 0) {
        *errorCode = errno;
        *buildFailed = true;
        return false;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, speedFor(baudRate));
    cfsetospeed(&settings, speedFor(baudRate));
    settings.c_cflag &= ~(CSIZE | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | PARENB | PARODD | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | IGNPAR | PARMRK);
    settings.c_iflag |= INPCK;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    int failed = tcsetattr(m_fd, TCSANOW, &settings);
    if (failed != 0 && errno == EINVAL) {
        // A pseudo-terminal has no parity and may refuse it once it has dropped it.
        settings.c_cflag &= ~(PARENB | PARODD);
        settings.c_iflag &= ~INPCK;
        failed = tcsetattr(m_fd, TCSANOW, &settings);
    }
    if (failed != 0) {
        *errorCode = errno;
        *buildFailed = false;
        return false;
    }
    // RTS held off; a pseudo-terminal has no modem lines, so a refusal is not an error.
    int rts = TIOCM_RTS;
    ioctl(m_fd, TIOCMBIC, &rts);
    return true;
}

bool TermiosTransport::close()
{
    if (m_fd < 0)
        return true;
    const int fd = m_fd;
    m_fd = -1;
    // A pseudo-terminal keeps the exclusive flag while its other side stays open.
    ioctl(fd, TIOCNXCL);
    return ::close(fd) == 0 || errno == EINTR;
}

bool TermiosTransport::write(const uint8_t *bytes, size_t count, size_t *written)
{
    *written = 0;
    while (*written < count) {
        const ssize_t done = ::write(m_fd, bytes + *written, count - *written);
        if (done > 0) {
            *written += size_t(done);
        } else if (done < 0 && errno == EAGAIN) {
            pollfd entry = {m_fd, POLLOUT, 0};
            if (poll(&entry, 1, 100) <= 0)
                return false;
        } else if (done < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool TermiosTransport::bytesWaiting(size_t *count, bool *lineError, int waitMs)
{
    *lineError = false;
    int waiting = 0;
    if (ioctl(m_fd, FIONREAD, &waiting) != 0)
        return false;
    if (waiting == 0 && waitMs > 0) {
        // Sleep in the kernel until the first byte arrives instead of spinning.
        pollfd entry = {m_fd, POLLIN, 0};
        const int ready = poll(&entry, 1, waitMs);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready > 0 && (entry.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
        if (ioctl(m_fd, FIONREAD, &waiting) != 0)
            return false;
    }
    if (m_countsErrors) {
        serial_icounter_struct counts = {};
        if (ioctl(m_fd, TIOCGICOUNT, &counts) != 0)
            return false;
        const int errors = lineErrorCount(counts);
        *lineError = errors != m_errorCount;
        m_errorCount = errors;
    }
    *count = size_t(waiting);
    return true;
}

bool TermiosTransport::read(uint8_t *bytes, size_t count, size_t *received)
{
    *received = 0;
    const ssize_t done = ::read(m_fd, bytes, count);
    if (done < 0)
        return errno == EAGAIN || errno == EINTR;
    *received = size_t(done);
    return true;
}

void TermiosTransport::purge()
{
    tcflush(m_fd, TCIOFLUSH);
}
