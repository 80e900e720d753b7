#include "support/PdfText.h"

#include "statistics/DocumentPrinter.h"
#include "statistics/HeaderFooterText.h"
#include "statistics/ListDocument.h"
#include "statistics/PageContext.h"
#include "statistics/PageUnits.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<QStringList> numberedRows(int count, int columns)
{
    QList<QStringList> rows;
    for (int r = 1; r <= count; ++r) {
        QStringList row;
        for (int c = 1; c <= columns; ++c)
            row << QStringLiteral("R%1C%2").arg(r, 3, 10, QLatin1Char('0')).arg(c);
        rows << row;
    }
    return rows;
}

QString sectionText(const HeaderFooterText::Section &section)
{
    QStringList lines;
    for (const HeaderFooterText::Line &line : section) {
        QString text;
        for (const HeaderFooterText::Run &run : line)
            text += run.text;
        lines << text;
    }
    return lines.join(u'|');
}

} // namespace

// Printed lists: pages, repeated headings, page numbers, fitting to the page width, and the
// header and footer codes.
class ListDocumentTest : public QObject
{
    Q_OBJECT
private slots:
    void headerFooterCodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("centre");
        QTest::addColumn<QString>("right");
        QTest::newRow("list footer") << "Seite &C&P/&N" << "Seite " << "2/5" << "";
        QTest::newRow("protocol footer") << "&C&\"Arial\"&8Erstellt mit X" << ""
                                         << "Erstellt mit X" << "";
        QTest::newRow("list header")
            << "&R&D\r\n&L&B&12Auswahlliste \"Neue\"&\"Letter Gothic\"&10\r\n\r\nPrüfart: 0"
            << "Auswahlliste \"Neue\"||Prüfart: 0" << "" << "24.12.2026|";
        QTest::newRow("ampersand and unknown code") << "A && B &Z" << "A & B &Z" << "" << "";
        QTest::newRow("unclosed font name") << "&C&\"Arial" << "" << "&\"Arial" << "";
        QTest::newRow("time") << "&R&T" << "" << "" << "18:30";
    }
    void headerFooterCodes()
    {
        QFETCH(QString, text);
        PageContext context;
        context.page = 2;
        context.pages = 5;
        context.printed = QDateTime(QDate(2026, 12, 24), QTime(18, 30));
        context.locale = QLocale(QLocale::German, QLocale::Germany);
        const auto sections = HeaderFooterText(text, PageUnits::font(QStringLiteral("Arial"), 10))
                                  .sections(context);
        QTEST(sectionText(sections[HeaderFooterText::Left]), "left");
        QTEST(sectionText(sections[HeaderFooterText::Centre]), "centre");
        QTEST(sectionText(sections[HeaderFooterText::Right]), "right");
    }

    void headerFonts()
    {
        const auto sections =
            HeaderFooterText(QStringLiteral("&L&B&12Titel&\"Letter Gothic\"&10Kriterien"),
                             PageUnits::font(QStringLiteral("Arial"), 10))
                .sections(PageContext());
        const HeaderFooterText::Line &line = sections[HeaderFooterText::Left].first();
        QCOMPARE(line.size(), 2);
        QVERIFY(line.at(0).font.bold());
        QCOMPARE(line.at(0).font.pixelSize(), 120);
        QCOMPARE(line.at(1).font.pixelSize(), 100);
        QCOMPARE(line.at(1).font.styleHint(), QFont::TypeWriter);
    }

    void pagination_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("120 rows") << 120 << false;
        QTest::newRow("120 rows, landscape") << 120 << true;
        QTest::newRow("empty list") << 0 << false;
    }
    void pagination()
    {
        QFETCH(int, rows);
        QFETCH(bool, landscape);
        PageSetup setup = ListDocument::listPageSetup();
        setup.landscape = landscape;
        setup.headerText = QStringLiteral("&R&D\r\n&L&B&12Auswahlliste Datenbasis \"Neue "
                                          "Prüfungen\"");
        setup.footerText = QStringLiteral("Seite &C&P/&N");
        const QStringList headings{"Kunden-Nr.", "Prüfart", "Datum", "Befund", "Prüfer"};
        const ListDocument list(headings, numberedRows(rows, 5), setup);
        const int pages = list.pageCount();
        QCOMPARE(pages, std::max(1, (rows + list.rowsPerPage() - 1) / list.rowsPerPage()));
        if (rows == 120)
            QVERIFY(pages >= 3);

        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("liste.pdf"));
        QString error;
        QVERIFY2(DocumentPrinter::writePdf(list, path, &error), qPrintable(error));
        QString all;
        for (int page = 1; page <= pages; ++page) {
            const QString text = pdfText(path, page);
            for (const QString &heading : headings)
                QVERIFY2(text.contains(heading), qPrintable(QStringLiteral("page %1: %2")
                                                               .arg(page).arg(heading)));
            QVERIFY(text.contains(QStringLiteral("Auswahlliste Datenbasis \"Neue Prüfungen\"")));
            QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Seite\\s+%1/%2")
                                                          .arg(page).arg(pages))),
                     qPrintable(text.right(200)));
            all += text;
        }
        QVERIFY(pdfText(path, pages + 1).isEmpty());
        // Every row printed once, in order.
        qsizetype previous = -1;
        for (int r = 1; r <= rows; ++r) {
            const QString cell = QStringLiteral("R%1C5").arg(r, 3, 10, QLatin1Char('0'));
            QCOMPARE(all.count(cell), 1);
            const qsizetype at = all.indexOf(cell);
            QVERIFY(at > previous);
            previous = at;
        }
    }

    void wideListFitsThePageWidth()
    {
        QStringList headings;
        QList<QStringList> rows = numberedRows(10, 20);
        for (int c = 1; c <= 20; ++c)
            headings << QStringLiteral("Spalte mit langem Namen %1").arg(c);
        rows[3][7] = QString(500, u'W'); // one giant cell must not shrink the rest to dust
        const ListDocument list(headings, rows);
        double total = 0;
        for (double width : list.columnWidths())
            total += width;
        const PageSetup setup = list.pageSetup();
        const double printable = (setup.orientedPaper().width() - setup.margins.left()
                                  - setup.margins.right()) * PageUnits::perMm;
        QVERIFY(list.scale() < 1);
        QVERIFY(total * list.scale() <= printable + 0.01);
        QVERIFY(list.columnWidths().at(7) <= printable / 2);
        QCOMPARE(list.pageCount(), 1);
    }

    void narrowListKeepsItsSize()
    {
        const ListDocument list({QStringLiteral("A")}, numberedRows(3, 1));
        QCOMPARE(list.scale(), 1.0);
    }
};

QTEST_MAIN(ListDocumentTest)
#include "ListDocumentTest.moc"
