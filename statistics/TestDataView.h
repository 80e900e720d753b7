#pragma once

#include "statistics/TestDataPanel.h"

#include <QWidget>

class QGroupBox;
class QLabel;

// The data part of the second tab of the new tests and statistics windows: the test's title,
// its measured values with their finding markers and, for serviceability tests, the further
// measured values.
class TestDataView : public QWidget
{
    Q_OBJECT
public:
    explicit TestDataView(QWidget *parent = nullptr);

    void showPanel(const TestDataPanel &panel);
    void clear();

    // The label texts in display order (title, then label, value, unit per row); for tests.
    QStringList texts() const;
    bool extraShown() const;

private:
    struct RowLabels
    {
        QLabel *marker;
        QLabel *label;
        QLabel *value;
        QLabel *unit;
    };
    RowLabels addRow(QGroupBox *frame, int row);
    void setRow(const RowLabels &labels, const TestDataPanel::Row &row);

    QGroupBox *FramePruefung;
    QGroupBox *FrameG5952;
    QLabel *m_title;
    QList<RowLabels> m_rows;     // four value rows, then the finding
    QList<RowLabels> m_extraRows;
};
