#include "app/DisplayStartGuard.h"

#include "data/StringTable.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler previousHandler = nullptr;

void explainMissingDisplay(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    if (type != QtFatalMsg) {
        if (previousHandler)
            previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", resString(26184).toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

DisplayStartGuard::DisplayStartGuard()
{
    previousHandler = qInstallMessageHandler(explainMissingDisplay);
}

DisplayStartGuard::~DisplayStartGuard()
{
    qInstallMessageHandler(previousHandler);
}
