#include "cli/ProgressLine.h"

#include <cstdio>
#include <unistd.h>

ProgressLine::ProgressLine()
    : m_enabled(isatty(STDERR_FILENO) == 1)
{}

ProgressLine::~ProgressLine()
{
    if (m_shown)
        std::fputc('\n', stderr);
}

void ProgressLine::show(int value, int maximum)
{
    if (!m_enabled || maximum <= 0)
        return;
    constexpr int width = 30;
    const int filled = value * width / maximum;
    const QString line = QStringLiteral("\r[%1%2] %3/%4 %5")
                             .arg(QString(filled, u'#'), QString(width - filled, u'.'))
                             .arg(value)
                             .arg(maximum)
                             .arg(m_label, -40);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
    m_shown = true;
}
