#include "statistics/TestDataView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int markerSize = 14;

} // namespace

TestDataView::TestDataView(QWidget *parent)
    : QWidget(parent)
{
    FramePruefung = new QGroupBox(this);
    FramePruefung->setObjectName(QStringLiteral("FramePrüfung"));
    auto *grid = new QGridLayout(FramePruefung);
    m_title = new QLabel(FramePruefung);
    m_title->setObjectName(QStringLiteral("lblDaten0"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    grid->addWidget(m_title, 0, 0, 1, 4);
    for (int row = 1; row <= 5; ++row)
        m_rows << addRow(FramePruefung, row);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);

    FrameG5952 = new QGroupBox(this);
    FrameG5952->setObjectName(QStringLiteral("FrameG5952"));
    auto *extra = new QGridLayout(FrameG5952);
    for (int row = 0; row < 4; ++row)
        m_extraRows << addRow(FrameG5952, row);
    extra->setRowStretch(4, 1);
    extra->setColumnStretch(2, 1);
    for (const RowLabels &labels : std::as_const(m_extraRows))
        labels.marker->hide();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FramePruefung, 1);
    layout->addWidget(FrameG5952, 1);
    clear();
}

TestDataView::RowLabels TestDataView::addRow(QGroupBox *frame, int row)
{
    auto *grid = static_cast<QGridLayout *>(frame->layout());
    RowLabels labels{new QLabel(frame), new QLabel(frame), new QLabel(frame), new QLabel(frame)};
    labels.marker->setFixedSize(markerSize, markerSize);
    labels.marker->setAutoFillBackground(true);
    labels.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(labels.marker, row, 0);
    grid->addWidget(labels.label, row, 1);
    grid->addWidget(labels.value, row, 2);
    grid->addWidget(labels.unit, row, 3);
    return labels;
}

void TestDataView::setRow(const RowLabels &labels, const TestDataPanel::Row &row)
{
    labels.label->setText(row.label);
    labels.value->setText(row.value);
    labels.unit->setText(row.unit);
    QPalette palette = labels.marker->palette();
    palette.setColor(QPalette::Window, row.marker.isValid()
                                           ? row.marker
                                           : FramePruefung->palette().color(QPalette::Window));
    labels.marker->setPalette(palette);
    labels.marker->setFrameShape(row.border ? QFrame::Box : QFrame::NoFrame);
}

void TestDataView::showPanel(const TestDataPanel &panel)
{
    m_title->setText(panel.title);
    for (int i = 0; i < 4; ++i)
        setRow(m_rows[i], panel.rows.value(i));
    setRow(m_rows[4], panel.finding);
    FrameG5952->setTitle(panel.extraTitle);
    for (int i = 0; i < 4; ++i)
        setRow(m_extraRows[i], panel.extraRows.value(i));
    FrameG5952->setVisible(panel.extraShown);
    FramePruefung->show();
}

void TestDataView::clear()
{
    showPanel(TestDataPanel{});
    FramePruefung->hide();
}

QStringList TestDataView::texts() const
{
    QStringList all{m_title->text()};
    for (const RowLabels &labels : m_rows + m_extraRows)
        all << labels.label->text() << labels.value->text() << labels.unit->text();
    return all;
}

bool TestDataView::extraShown() const
{
    return !FrameG5952->isHidden();
}
