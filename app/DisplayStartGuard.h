#pragma once

// Qt ends the process with abort() when no window system can be reached (no DISPLAY, an X
// server that is gone), which leaves a user with a core dump and a page of plugin names.
// While this guard lives, that fatal message becomes a clear, localised explanation on
// standard error and exit code 1. Create it just before the QApplication.
class DisplayStartGuard
{
public:
    DisplayStartGuard();
    ~DisplayStartGuard();
    DisplayStartGuard(const DisplayStartGuard &) = delete;
    DisplayStartGuard &operator=(const DisplayStartGuard &) = delete;
};
