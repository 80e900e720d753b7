#include "app/WaitSeconds.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cmath>

void WaitSeconds(int seconds)
{
    // The tick count in seconds, so a wait of 0 ends at the next half-second boundary at the
    // latest, as a rounded tick comparison does.
    static QElapsedTimer ticks;
    if (!ticks.isValid())
        ticks.start();
    const double until = std::round(ticks.elapsed() / 1000.0 + seconds);
    while (ticks.elapsed() / 1000.0 <= until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}
