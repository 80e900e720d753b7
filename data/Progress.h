#pragma once

#include <QObject>
#include <QString>

// The progress display of long operations. A bar cannot count past 32767, so longer
// operations advance it by a fractional step.
class Progress : public QObject
{
    Q_OBJECT
public:
    static constexpr int largestMaximum = 32767;

    // Shows the display prepared for max steps with text, or hides it (max and text ignored).
    void ShowProgress(bool show, qint32 max = 0, const QString &text = {});
    // Advances by one step, never past the maximum.
    void StepProgress();

    bool isShown() const { return m_shown; }
    int maximum() const { return m_maximum; }
    double value() const { return m_value; }
    double step() const { return m_step; }
    const QString &text() const { return m_text; }

signals:
    void changed();

private:
    bool m_shown = false;
    int m_maximum = 0;
    double m_value = 0;
    double m_step = 1;
    QString m_text;
};
