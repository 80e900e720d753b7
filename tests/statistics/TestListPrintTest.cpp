#include "support/PdfText.h"

#include "data/ColumnCaptions.h"
#include "data/Recordset.h"
#include "data/StringTable.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/ListHeader.h"
#include "statistics/TestListDocument.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const QLocale german(QLocale::German, QLocale::Germany);
const QString crlf = QStringLiteral("\r\n");
} // namespace

Q_DECLARE_METATYPE(ListHeaderCriteria)

// The printed tests list: its header, its cells and its pages.
class TestListPrintTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
    }

    void header_data()
    {
        QTest::addColumn<ListHeaderCriteria>("criteria");
        QTest::addColumn<QString>("lines");

        QTest::newRow("no criterion") << ListHeaderCriteria{} << QString();
        ListHeaderCriteria flow;
        flow.flowMin = QStringLiteral(" 1,5");
        flow.flowMax = QStringLiteral("3 ");
        QTest::newRow("flow min and max") << flow
                                          << "Fluss:             >= 1,5 L/h <= 3 L/h";
        ListHeaderCriteria max;
        max.flowMax = QStringLiteral("3");
        QTest::newRow("flow max") << max << "Fluss:             <= 3 L/h";
        ListHeaderCriteria dates;
        dates.startDate = QDate(2008, 3, 1);
        dates.endDate = QDate(2008, 3, 31);
        QTest::newRow("dates") << dates << "Prüfdatum vom 01.03.2008 bis 01.04.2008";
        ListHeaderCriteria end;
        end.endDate = QDate(2008, 3, 31);
        QTest::newRow("end only") << end << "Prüfdatum vor dem  01.04.2008";
        ListHeaderCriteria several;
        several.testKind = QStringLiteral("Reglerprüfung");
        several.customer = QStringLiteral("4711");
        several.fabNr = QStringLiteral("063 01 00042");
        QTest::newRow("several in order")
            << several
            << "Prüfart:           Reglerprüfung" + crlf + "Kunden-Nr.:        4711" + crlf
                   + "Messgerät:         Velmora Lumetra 4 Fab.-Nr. 063 01 00042";
    }

    void header()
    {
        QFETCH(ListHeaderCriteria, criteria);
        QFETCH(QString, lines);
        const QString expected = "&R&D" + crlf + "&L&B&12Auswahlliste Datenbasis "
                                 "\"Eingepflegte Prüfungen\"&\"Letter Gothic\"&10"
                                 + crlf + crlf + lines;
        QCOMPARE(MakeHeader(criteria, german), expected);
    }

    void cellTexts_data()
    {
        const ColumnCaptions &c = columnCaptions();
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("kind") << c.capPruefart << QVariant(3) << "Reglerprüfung";
        QTest::newRow("unknown kind") << c.capPruefart << QVariant(9) << "";
        QTest::newRow("finding 4") << c.capBefund << QVariant(4) << "Messabbruch";
        QTest::newRow("finding 7") << c.capBefund << QVariant(7) << "";
        QTest::newRow("finding 255") << c.capBefund << QVariant(255) << "";
        QTest::newRow("not measured") << c.capRuhedruck << QVariant(-99999.0) << "";
        QTest::newRow("regulator value") << c.capSAVDruck << QVariant(48.25) << "48,25";
        QTest::newRow("zero shut-off 3") << c.capBefundNullabschluss << QVariant(3) << "entfällt";
        QTest::newRow("gas shortage 3") << c.capBefundGMSicherung << QVariant(3) << "fehlt";
        QTest::newRow("gas shortage 2") << c.capBefundGMSicherung << QVariant(2) << "nOK";
        QTest::newRow("null") << c.capPruefer << QVariant() << "";
    }

    void cellTexts()
    {
        QFETCH(QString, caption);
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(TestListCellText(caption, value, german), text);
    }

    // 120 tests in the list's sort order, headings on every page, "n/N" in every footer.
    void longListPaginates()
    {
        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const ColumnCaptions &c = columnCaptions();
        QList<QVariantList> rows;
        for (int i = 0; i < 120; ++i)
            rows << QVariantList{QStringLiteral("K%1").arg(i, 4, 10, QLatin1Char('0')), i % 4,
                                 i % 3, QStringLiteral("hidden")};
        Recordset list({RecordsetField::named(c.capKundenNr), RecordsetField::named(c.capPruefart),
                        RecordsetField::named(c.capBefund), RecordsetField::named(c.capPruefer)},
                       rows);
        list.setSort(QStringLiteral("[%1] DESC").arg(c.capKundenNr));
        const auto document = BuildTestList(list, {c.capKundenNr, c.capPruefart, c.capBefund},
                                            MakeHeader({}, german), false, german);
        const int pages = document->pageCount();
        QVERIFY(pages >= 2);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        QVERIFY(DocumentPrinter::writePdf(*document, pdf));
        for (int page = 1; page <= pages; ++page) {
            const QString text = pdfText(pdf, page);
            QVERIFY(text.contains(c.capKundenNr));
            QVERIFY(text.contains(c.capBefund));
            QVERIFY(text.contains(QStringLiteral("Eingepflegte Prüfungen")));
            QVERIFY(text.contains(QStringLiteral("Seite")));
            QVERIFY2(text.contains(QStringLiteral("%1/%2").arg(page).arg(pages)),
                     qPrintable(text.right(200)));
            QVERIFY(!text.contains(QStringLiteral("hidden")));
        }
        const QString all = pdfText(pdf);
        QVERIFY(all.indexOf(QStringLiteral("K0119")) < all.indexOf(QStringLiteral("K0000")));
        for (const QString &id : {QStringLiteral("K0000"), QStringLiteral("K0077")})
            QCOMPARE(all.count(id), 1);
    }
};

QTEST_MAIN(TestListPrintTest)
#include "TestListPrintTest.moc"
