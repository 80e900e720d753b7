#include "statistics/ListDocument.h"

#include "statistics/HeaderFooterText.h"
#include "statistics/PageContext.h"
#include "statistics/PageUnits.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

const double padding = PageUnits::fromMm(1);

} // namespace

ListDocument::ListDocument(QStringList headings, QList<QStringList> rows,
                           const PageSetup &setup)
    : m_headings(std::move(headings)), m_rows(std::move(rows)), m_setup(setup),
      m_font(PageUnits::font(QStringLiteral("Arial"), 10)), m_headingFont(m_font)
{
    m_headingFont.setBold(true);
    layout();
}

PageSetup ListDocument::listPageSetup()
{
    PageSetup setup;
    setup.margins = QMarginsF(25, 65, 20, 25);
    setup.header = 10;
    setup.footer = 20;
    return setup;
}

QRectF ListDocument::contentRect() const
{
    const QSizeF sheet = m_setup.orientedPaper() * PageUnits::perMm;
    return QRectF(QPointF(0, 0), sheet).marginsRemoved(m_setup.margins * PageUnits::perMm);
}

void ListDocument::layout()
{
    const QRectF content = contentRect();
    const QFontMetricsF metrics(m_font);
    const QFontMetricsF headingMetrics(m_headingFont);
    m_widths.clear();
    for (qsizetype column = 0; column < m_headings.size(); ++column) {
        double width = headingMetrics.horizontalAdvance(m_headings.at(column));
        for (const QStringList &row : std::as_const(m_rows)) {
            if (column < row.size())
                width = std::max(width, metrics.horizontalAdvance(row.at(column)));
        }
        // One very long text must not shrink the whole table to nothing.
        m_widths.append(std::min(width + 2 * padding, content.width() / 2));
    }
    m_rowHeight = std::max(metrics.height(), headingMetrics.height()) + padding;
    double total = 0;
    for (double width : std::as_const(m_widths))
        total += width;
    m_scale = total > content.width() ? content.width() / total : 1.0;
    const double rowsHigh = content.height() / (m_rowHeight * m_scale);
    m_rowsPerPage = std::max(1, int(std::floor(rowsHigh)) - 1);
}

int ListDocument::pageCount() const
{
    return std::max<int>(1, int((m_rows.size() + m_rowsPerPage - 1) / m_rowsPerPage));
}

void ListDocument::paintPage(QPainter &painter, const QRectF &paper, int index,
                             const PageContext &context) const
{
    painter.save();
    beginPage(painter, paper);
    const QRectF content = contentRect();
    const double footerBottom = m_setup.orientedPaper().height() * PageUnits::perMm
                                - PageUnits::fromMm(m_setup.footer);
    HeaderFooterText(m_setup.headerText, m_font)
        .paint(painter, QRectF(content.left(), PageUnits::fromMm(m_setup.header),
                               content.width(), content.top()), true, context);
    HeaderFooterText(m_setup.footerText, m_font)
        .paint(painter, QRectF(content.left(), content.bottom(), content.width(),
                               footerBottom - content.bottom()), false, context);

    painter.translate(content.topLeft());
    painter.scale(m_scale, m_scale);
    const qsizetype first = qsizetype(index) * m_rowsPerPage;
    const qsizetype last = std::min<qsizetype>(m_rows.size(), first + m_rowsPerPage);
    painter.setPen(QPen(Qt::black, PageUnits::perPoint / 2));
    auto paintRow = [&](const QStringList &cells, double y, const QFont &font) {
        painter.setFont(font);
        double x = 0;
        for (qsizetype column = 0; column < m_widths.size(); ++column) {
            const QRectF cell(x, y, m_widths.at(column), m_rowHeight);
            painter.drawRect(cell);
            if (column < cells.size()) {
                painter.save();
                painter.setClipRect(cell);
                painter.drawText(cell.adjusted(padding, 0, -padding, 0),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                 cells.at(column));
                painter.restore();
            }
            x += cell.width();
        }
    };
    paintRow(m_headings, 0, m_headingFont);
    for (qsizetype row = first; row < last; ++row)
        paintRow(m_rows.at(row), double(row - first + 1) * m_rowHeight, m_font);
    painter.restore();
}
