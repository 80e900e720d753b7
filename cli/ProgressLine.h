#pragma once

#include <QString>

// A one-line progress display on a terminal: what is done, a bar and the steps. Shows nothing
// when standard error is not a terminal.
class ProgressLine
{
public:
    ProgressLine();
    ~ProgressLine();

    void setLabel(const QString &label) { m_label = label; }
    void show(int value, int maximum);

private:
    bool m_enabled;
    bool m_shown = false;
    QString m_label;
};
