#pragma once

#include <QtGlobal>

// Which working window a child of the main window is (activeWindowKind).
enum class WindowKind : qint16 {
    None = -1,
    Inspectors = 0,
    Clients = 1,
    Customers = 2,
    NewTests = 4,
    Statistics = 5,
    ArchiveStatistics = 6,
    SerialSync = 7,
    InfraredSync = 8,
};
