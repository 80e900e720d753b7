#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

#include <array>

class QPainter;
struct PageContext;

// A page header or footer text with the spreadsheet codes: &L, &C and &R start the left,
// centre and right section (text before any of them is left), &P is the page number, &N the
// page count, &D the date, &T the time, &B, &I and &U switch bold, italic and underline,
// &"family" and &size choose the font, && is an ampersand. Line breaks end lines.
class HeaderFooterText
{
public:
    struct Run
    {
        QString text;
        QFont font;
    };
    using Line = QList<Run>;
    using Section = QList<Line>;
    enum { Left, Centre, Right };

    HeaderFooterText(const QString &text, const QFont &baseFont);

    // The three sections with the page's numbers and date filled in.
    std::array<Section, 3> sections(const PageContext &context) const;
    // Height of the tallest section, in the painter's units.
    double height(const PageContext &context) const;
    // Draws the sections into the band: from its top edge for a header, up to its bottom edge
    // for a footer.
    void paint(QPainter &painter, const QRectF &band, bool fromTop,
               const PageContext &context) const;

private:
    QString m_text;
    QFont m_baseFont;
};
