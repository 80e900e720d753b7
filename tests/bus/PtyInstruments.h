#pragma once

#include "bus/ScriptedLine.h"

#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <thread>
#include <unistd.h>

// Scripted instruments on the far side of a real pseudo-terminal: a thread reads whole
// telegrams from the master side, echoes them as the line does and writes the responder's
// answer. The library opens the slave side as its serial port.
class PtyInstruments
{
public:
    explicit PtyInstruments(std::function<Bytes(const Bytes &)> responder)
        : m_responder(std::move(responder))
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        m_path = ptsname(m_master);
        m_thread = std::thread([this] { run(); });
    }

    ~PtyInstruments()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        unplug();
    }

    std::string path() const { return m_path; }
    bool isValid() const { return !m_path.empty(); }

    // The line goes away, as a USB adapter pulled out.
    void unplug()
    {
        m_stop = true;
        if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
            m_thread.join();
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    static size_t frameLength(const Bytes &buffer)
    {
        switch (buffer[0]) {
        case 0x00: return 2;
        case 0x80: return 6;
        case 0x0F: return 7;
        case 0xAA: return buffer.size() >= 8 ? size_t(9 + buffer[7]) : 0;
        default: return 1; // noise: dropped
        }
    }

    void run()
    {
        Bytes buffer;
        while (!m_stop) {
            pollfd entry = {m_master, POLLIN, 0};
            if (poll(&entry, 1, 10) <= 0 || !(entry.revents & POLLIN))
                continue;
            uint8_t chunk[512];
            const ssize_t got = ::read(m_master, chunk, sizeof chunk);
            if (got <= 0)
                continue;
            buffer.insert(buffer.end(), chunk, chunk + got);
            for (size_t length = frameLength(buffer); length && buffer.size() >= length;
                 length = buffer.empty() ? 0 : frameLength(buffer)) {
                const Bytes request(buffer.begin(), buffer.begin() + long(length));
                buffer.erase(buffer.begin(), buffer.begin() + long(length));
                if (request.size() > 1)
                    send(request + m_responder(request));
            }
        }
    }

    void send(const Bytes &bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t wrote = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (wrote <= 0)
                return;
            done += size_t(wrote);
        }
    }

    std::function<Bytes(const Bytes &)> m_responder;
    int m_master = -1;
    std::string m_path;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};
