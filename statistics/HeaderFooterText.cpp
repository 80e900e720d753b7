#include "statistics/HeaderFooterText.h"

#include "data/Localisation.h"
#include "statistics/PageContext.h"
#include "statistics/PageUnits.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

double lineHeight(const HeaderFooterText::Line &line, const QFont &baseFont)
{
    double height = QFontMetricsF(baseFont).height();
    for (const HeaderFooterText::Run &run : line)
        height = std::max(height, QFontMetricsF(run.font).height());
    return height;
}

double lineWidth(const HeaderFooterText::Line &line)
{
    double width = 0;
    for (const HeaderFooterText::Run &run : line)
        width += QFontMetricsF(run.font).horizontalAdvance(run.text);
    return width;
}

double sectionHeight(const HeaderFooterText::Section &section, const QFont &baseFont)
{
    double height = 0;
    for (const HeaderFooterText::Line &line : section)
        height += lineHeight(line, baseFont);
    return height;
}

} // namespace

HeaderFooterText::HeaderFooterText(const QString &text, const QFont &baseFont)
    : m_text(text), m_baseFont(baseFont)
{}

std::array<HeaderFooterText::Section, 3> HeaderFooterText::sections(
    const PageContext &context) const
{
    std::array<Section, 3> result;
    int current = Left;
    QFont font = m_baseFont;
    QString pending;
    auto flush = [&] {
        if (pending.isEmpty())
            return;
        if (result[current].isEmpty())
            result[current].append(Line());
        result[current].last().append(Run{pending, font});
        pending.clear();
    };
    auto startSection = [&](int section) {
        flush();
        current = section;
        font = m_baseFont;
    };

    const QString text = QString(m_text).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                             .replace(u'\r', u'\n');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n') {
            flush();
            if (result[current].isEmpty())
                result[current].append(Line());
            result[current].append(Line());
            continue;
        }
        if (c != u'&' || i + 1 >= text.size()) {
            pending += c;
            continue;
        }
        const QChar code = text.at(++i);
        switch (code.toUpper().unicode()) {
        case 'L': startSection(Left); break;
        case 'C': startSection(Centre); break;
        case 'R': startSection(Right); break;
        case 'P': pending += QString::number(context.page); break;
        case 'N': pending += QString::number(context.pages); break;
        case 'D': pending += context.locale.toString(context.printed.date(),
                                                     fixedShortDateFormat(context.locale));
            break;
        case 'T': pending += context.locale.toString(context.printed.time(),
                                                     QLocale::ShortFormat); break;
        case 'B': flush(); font.setBold(!font.bold()); break;
        case 'I': flush(); font.setItalic(!font.italic()); break;
        case 'U': flush(); font.setUnderline(!font.underline()); break;
        case '&': pending += u'&'; break;
        case '"': {
            const qsizetype end = text.indexOf(u'"', i + 1);
            if (end < 0) {
                pending += text.mid(i - 1);
                i = text.size();
                break;
            }
            flush();
            const QFont chosen = PageUnits::font(text.mid(i + 1, end - i - 1), 1,
                                                 font.bold(), font.italic());
            const int size = font.pixelSize();
            font.setFamily(chosen.family());
            font.setStyleHint(chosen.styleHint());
            font.setPixelSize(size);
            i = end;
            break;
        }
        default:
            if (code.isDigit()) {
                qsizetype end = i;
                while (end < text.size() && text.at(end).isDigit())
                    ++end;
                flush();
                font.setPixelSize(qRound(text.mid(i, end - i).toInt() * PageUnits::perPoint));
                i = end - 1;
            } else {
                pending += u'&';
                pending += code;
            }
        }
    }
    flush();
    return result;
}

double HeaderFooterText::height(const PageContext &context) const
{
    double height = 0;
    for (const Section &section : sections(context))
        height = std::max(height, sectionHeight(section, m_baseFont));
    return height;
}

void HeaderFooterText::paint(QPainter &painter, const QRectF &band, bool fromTop,
                             const PageContext &context) const
{
    const std::array<Section, 3> all = sections(context);
    painter.save();
    painter.setPen(Qt::black);
    for (int s = Left; s <= Right; ++s) {
        const Section &section = all[s];
        double y = fromTop ? band.top() : band.bottom() - sectionHeight(section, m_baseFont);
        for (const Line &line : section) {
            const double height = lineHeight(line, m_baseFont);
            const double width = lineWidth(line);
            double x = s == Left ? band.left()
                     : s == Right ? band.right() - width
                                  : band.center().x() - width / 2;
            for (const Run &run : line) {
                const QFontMetricsF metrics(run.font);
                painter.setFont(run.font);
                painter.drawText(QPointF(x, y + height - metrics.descent()), run.text);
                x += metrics.horizontalAdvance(run.text);
            }
            y += height;
        }
    }
    painter.restore();
}
