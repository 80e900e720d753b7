#include "PseudoTerminalLine.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int pollMs = 20;
// A telegram left incomplete this long is noise; the instruments wait for the next one.
constexpr auto frameGap = std::chrono::milliseconds(20);
constexpr double bitsPerByte = 11;

struct LineRate
{
    uint32_t baudRate;
    speed_t speed;
};

constexpr LineRate lineRates[] = {
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};

uint32_t baudRateOf(speed_t speed)
{
    for (const LineRate &rate : lineRates) {
        if (rate.speed == speed)
            return rate.baudRate;
    }
    return 0;
}

speed_t speedOf(uint32_t baudRate)
{
    for (const LineRate &rate : lineRates) {
        if (rate.baudRate == baudRate)
            return rate.speed;
    }
    return B57600;
}

// Raw bytes both ways from the start, so that a PC side that configures nothing neither gets
// line-discipline echo nor sees bytes translated; the speed is the line's own until the PC sets
// one.
bool makeRaw(int master, uint32_t baudRate)
{
    termios settings = {};
    if (tcgetattr(master, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetspeed(&settings, speedOf(baudRate));
    return tcsetattr(master, TCSANOW, &settings) == 0;
}

} // namespace

PseudoTerminalLine::PseudoTerminalLine(InstrumentLine line, Options options)
    : m_line(std::move(line)), m_options(options)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0
        || !makeRaw(master, options.baudRate)) {
        m_error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        if (master >= 0)
            ::close(master);
        return;
    }
    m_master = master;
    m_path = ptsname(master);
}

PseudoTerminalLine::~PseudoTerminalLine()
{
    stop();
    closeMaster();
}

void PseudoTerminalLine::start()
{
    m_stop = false;
    m_thread = std::thread([this] { run(m_stop); });
}

void PseudoTerminalLine::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void PseudoTerminalLine::unplug()
{
    m_unplug = true;
    if (!m_thread.joinable())
        closeMaster();
    while (m_thread.joinable() && m_master >= 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void PseudoTerminalLine::closeMaster()
{
    const int master = m_master.exchange(-1);
    if (master >= 0)
        ::close(master);
}

void PseudoTerminalLine::run(const std::atomic<bool> &stop)
{
    auto lastByte = Clock::now();
    while (!stop && m_master >= 0) {
        if (m_unplug) {
            closeMaster();
            return;
        }
        pollfd entry = {m_master, POLLIN, 0};
        const int ready = poll(&entry, 1, pollMs);
        if (ready > 0 && (entry.revents & POLLIN)) {
            uint8_t chunk[512];
            const ssize_t got = ::read(m_master, chunk, sizeof chunk);
            if (got > 0) {
                m_pcConnected = true;
                lastByte = Clock::now();
                serve(chunk, size_t(got));
                continue;
            }
        }
        if (ready > 0 && (entry.revents & POLLHUP)) {
            // Nobody holds the port: the instruments drop out of bus mode, as when the PC
            // side goes away, so that the next program to open the port finds them again.
            if (m_pcConnected) {
                std::lock_guard guard(m_mutex);
                m_line.detachAll();
                m_pcConnected = false;
            }
            m_pending.clear();
            // Short, so that the first search after the port opens finds the line awake.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!m_pending.empty() && Clock::now() - lastByte > frameGap)
            m_pending.clear();
    }
}

void PseudoTerminalLine::serve(const uint8_t *bytes, size_t count)
{
    const auto now = Clock::now();
    const auto echoDone = std::max(now, m_lineFree) + (m_options.pace ? wireTime(count)
                                                                     : Clock::duration());
    if (m_options.echo)
        send(Bytes(bytes, bytes + count), echoDone);
    m_lineFree = echoDone;
    m_pending.insert(m_pending.end(), bytes, bytes + count);
    answerWholeTelegrams(echoDone);
}

void PseudoTerminalLine::answerWholeTelegrams(Clock::time_point echoDone)
{
    for (;;) {
        const size_t length = SimulatorTelegram::frameLength(m_pending.data(), m_pending.size());
        if (length == 0 || m_pending.size() < length)
            return;
        const Bytes telegram(m_pending.begin(), m_pending.begin() + long(length));
        m_pending.erase(m_pending.begin(), m_pending.begin() + long(length));
        if (length == 1)
            continue; // noise between telegrams
        std::optional<InstrumentLine::Reply> reply;
        {
            std::lock_guard guard(m_mutex);
            reply = m_line.answer(telegram);
        }
        if (!reply)
            continue;
        const auto start = std::max(echoDone, m_lineFree)
                           + std::chrono::milliseconds(reply->delayMs);
        const auto done = start + (m_options.pace ? wireTime(reply->bytes.size())
                                                  : Clock::duration());
        send(reply->bytes, done);
        m_lineFree = done;
    }
}

void PseudoTerminalLine::send(const Bytes &bytes, Clock::time_point due)
{
    std::this_thread::sleep_until(due);
    size_t done = 0;
    while (done < bytes.size() && m_master >= 0) {
        const ssize_t wrote = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (wrote > 0) {
            done += size_t(wrote);
        } else if (wrote < 0 && errno == EAGAIN) {
            pollfd entry = {m_master, POLLOUT, 0};
            if (poll(&entry, 1, 100) <= 0)
                return; // the PC reads nothing: what it would not read is lost
        } else if (wrote < 0 && errno != EINTR) {
            return;
        }
    }
}

PseudoTerminalLine::Clock::duration PseudoTerminalLine::wireTime(size_t bytes) const
{
    // The rate the PC set on its side of the line; the pseudo-terminal shares it.
    termios settings = {};
    uint32_t baudRate = 0;
    if (!m_options.baudRateFixed && tcgetattr(m_master, &settings) == 0)
        baudRate = baudRateOf(cfgetospeed(&settings));
    if (baudRate == 0)
        baudRate = m_options.baudRate != 0 ? m_options.baudRate : 57600;
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(double(bytes) * bitsPerByte / baudRate));
}
