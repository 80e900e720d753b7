#include "data/Progress.h"

#include <algorithm>

void Progress::ShowProgress(bool show, qint32 max, const QString &text)
{
    m_shown = show;
    if (show) {
        m_text = text;
        if (max <= largestMaximum) {
            m_maximum = std::max(max, 0);
            m_step = 1;
        } else {
            m_maximum = largestMaximum;
            m_step = double(largestMaximum) / max;
        }
        m_value = 0.001;
    }
    emit changed();
}

void Progress::StepProgress()
{
    m_value = std::min(m_value + m_step, double(m_maximum));
    emit changed();
}
