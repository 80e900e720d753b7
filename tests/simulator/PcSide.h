#pragma once

#include <QByteArray>
#include <QElapsedTimer>

#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

// The PC end of the simulated line, written by hand so that the simulator is tested on its
// own: frames a telegram with its checksum, sends it and collects the echo and the answer.
class PcSide
{
public:
    PcSide(const std::string &devicePath, bool lineEchoes)
        : m_fd(::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)), m_echoes(lineEchoes)
    {}
    ~PcSide()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PcSide(const PcSide &) = delete;
    PcSide &operator=(const PcSide &) = delete;

    bool isOpen() const { return m_fd >= 0; }

    // The rate the PC selects on its port, as the bus library does.
    bool setBaudRate(speed_t speed)
    {
        termios settings = {};
        if (tcgetattr(m_fd, &settings) != 0)
            return false;
        cfmakeraw(&settings);
        cfsetspeed(&settings, speed);
        return tcsetattr(m_fd, TCSANOW, &settings) == 0;
    }

    // CRC-16/KERMIT, low byte: written again here so that the simulator's own is checked.
    static uint8_t checksum(const QByteArray &bytes)
    {
        uint16_t crc = 0;
        for (const char byte : bytes) {
            crc ^= uint8_t(byte);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
        }
        return uint8_t(crc);
    }

    // Sends the bytes as they are and returns what came back behind the echo: a whole answer,
    // or whatever arrived within waitMs. echo() holds the echo.
    QByteArray sendRaw(const QByteArray &bytes, int waitMs = 100)
    {
        QElapsedTimer clock;
        clock.start();
        if (::write(m_fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            return {};
        const qsizetype echoLength = m_echoes ? bytes.size() : 0;
        QByteArray received;
        while (clock.elapsed() < waitMs) {
            const QByteArray answer = received.mid(echoLength);
            if (!answer.isEmpty() && answer.size() >= expectedLength(answer))
                break;
            pollfd entry = {m_fd, POLLIN, 0};
            if (poll(&entry, 1, int(waitMs - clock.elapsed())) <= 0)
                continue;
            char chunk[512];
            const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
            if (got > 0)
                received.append(chunk, got);
        }
        m_elapsedMs = clock.elapsed();
        m_echo = received.left(echoLength);
        return received.mid(echoLength);
    }

    QByteArray transfer(const QByteArray &telegram, int waitMs = 100)
    {
        return sendRaw(telegram + char(checksum(telegram)), waitMs);
    }

    QByteArray echo() const { return m_echo; }
    qint64 elapsedMs() const { return m_elapsedMs; }

private:
    // Length of a whole answer from its first bytes; unknown kinds are read until the wait ends.
    static qsizetype expectedLength(const QByteArray &answer)
    {
        switch (uint8_t(answer[0])) {
        case 0xFF:
        case 0x80:
            return 6;
        case 0x55:
            return answer.size() < 7 ? 8 : 8 + uint8_t(answer[6]);
        default:
            return 264;
        }
    }

    int m_fd;
    bool m_echoes;
    QByteArray m_echo;
    qint64 m_elapsedMs = 0;
};
