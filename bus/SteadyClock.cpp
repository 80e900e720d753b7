#include "SteadyClock.h"

#include <cerrno>
#include <ctime>

uint32_t SteadyClock::milliseconds()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u);
}

void SteadyClock::sleep(uint32_t milliseconds)
{
    timespec pause = {time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}
