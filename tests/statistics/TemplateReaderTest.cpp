#include "statistics/FilledTemplate.h"
#include "statistics/ProtocolNames.h"
#include "statistics/TemplateReader.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A small grid of 4 columns and 6 rows with one value map; the body starts on line 6.
QByteArray templateWith(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<workbook-template version=\"1\">\n"
           "<column width=\"10\" count=\"4\"/>\n"
           "<row height=\"5\" count=\"6\"/>\n"
           "<map id=\"Befund\"><entry code=\"0\">OK</entry><entry code=\"2\">nOK</entry>"
           "<entry code=\"255\"></entry></map>\n"
           + body + "\n</workbook-template>\n";
}

} // namespace

// Reading protocol templates: the shipped one, and every way a hand-edited one can break.
class TemplateReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void shippedTemplate()
    {
        const QString path = QStringLiteral(LUMETRA4_SOURCE_DIR)
                             + QStringLiteral("/templates/Leckmengen1_G5952.vts");
        TemplateReader reader(protocolNames());
        const std::optional<WorkbookTemplate> workbook = reader.read(path);
        QVERIFY2(workbook, qPrintable(reader.errorText()));
        // The rectangles the program fills for a serviceability test with line volume.
        const QList<std::pair<QString, CellRectangle>> areas{
            {QStringLiteral("logo"), {10, 1, 14, 7}},
            {QStringLiteral("pressureChart"), {1, 32, 8, 43}},
            {QStringLiteral("flowChart"), {8, 32, 14, 43}}};
        for (const auto &[name, rectangle] : areas) {
            const WorkbookTemplate::Placement *area = workbook->area(name);
            QVERIFY2(area, qPrintable(name));
            QCOMPARE(area->rectangle, rectangle);
        }
        QStringList used;
        for (const WorkbookTemplate::Cell &cell : workbook->cells) {
            for (const WorkbookTemplate::Segment &segment : cell.segments) {
                if (segment.placeholder)
                    used << segment.text;
            }
        }
        for (const char *name : {"Kunde", "KundenNr", "ZaehlerNr", "Strasse", "Ort", "Druck",
                                 "Druckende", "Fluss", "Leistungsvolumen", "RefDruck",
                                 "LeckrateG5952", "Pruefer", "Befund", "Auftraggeber",
                                 "Messgeraet", "Bemerkung", "Pruefdatum"})
            QVERIFY2(used.contains(QLatin1String(name)), name);
        QVERIFY(workbook->page.footerText.startsWith(QLatin1String("&C&\"Arial\"&8")));
        // The grid fits the page, so it prints at full size.
        const QSizeF printable = (workbook->page.paperSize
                                  - QSizeF(workbook->page.margins.left()
                                               + workbook->page.margins.right(),
                                           workbook->page.margins.top()
                                               + workbook->page.margins.bottom()))
                                 * (720 / 25.4);
        QVERIFY(workbook->gridSize().width() <= printable.width());
        QVERIFY(workbook->gridSize().height() <= printable.height());
    }

    void goodTemplate()
    {
        TemplateReader reader(protocolNames());
        const std::optional<WorkbookTemplate> workbook = reader.read(templateWith(
            "<font id=\"big\" family=\"Arial\" size=\"14\" bold=\"true\"/>\n"
            "<cell row=\"1\" col=\"1\" colspan=\"4\" font=\"big\" align=\"center\" "
            "border=\"all\" background=\"#eeeeee\">Kunde: {Kunde} {{x}}</cell>\n"
            "<area name=\"logo\" left=\"1\" top=\"2\" right=\"5\" bottom=\"7\"/>"),
                                                                        QStringLiteral("t.vts"));
        QVERIFY2(workbook, qPrintable(reader.errorText()));
        QCOMPARE(workbook->cells.size(), 1);
        const WorkbookTemplate::Cell &cell = workbook->cells.first();
        QCOMPARE(cell.line, 7);
        QCOMPARE(cell.columnSpan, 4);
        QCOMPARE(cell.alignment, Qt::AlignHCenter | Qt::AlignVCenter);
        QVERIFY(workbook->fontOf(cell).bold());
        QCOMPARE(cell.segments.size(), 3);
        QCOMPARE(cell.segments.at(1).text, QStringLiteral("Kunde"));
        QVERIFY(cell.segments.at(1).placeholder);
        QCOMPARE(cell.segments.at(2).text, QStringLiteral(" {x}"));
        QCOMPARE(workbook->columnCount(), 4);
        QCOMPARE(workbook->rowCount(), 6);
    }

    void brokenTemplate_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown placeholder")
            << templateWith("<cell row=\"1\" col=\"1\">A {Kundee}</cell>") << 6
            << "unknown placeholder {Kundee}";
        QTest::newRow("unknown placeholder on the cell's second line")
            << templateWith("<cell row=\"1\" col=\"1\">A\n{Nope}</cell>") << 7
            << "unknown placeholder {Nope}";
        QTest::newRow("placeholder not closed")
            << templateWith("<cell row=\"1\" col=\"1\">{Kunde</cell>") << 6 << "not closed";
        QTest::newRow("stray closing brace")
            << templateWith("<cell row=\"1\" col=\"1\">a } b</cell>") << 6
            << "without \"{\"";
        QTest::newRow("unknown value map")
            << templateWith("<cell row=\"1\" col=\"1\">{Befund|Finding}</cell>") << 6
            << "unknown value map \"Finding\"";
        QTest::newRow("cell below the grid")
            << templateWith("<cell row=\"7\" col=\"1\">x</cell>") << 6
            << "cell (1, 7, 2, 8) lies outside the grid of 4 columns and 6 rows";
        QTest::newRow("merged range beyond the grid")
            << templateWith("<cell row=\"1\" col=\"3\" colspan=\"3\">x</cell>") << 6
            << "lies outside the grid";
        QTest::newRow("area beyond the grid")
            << templateWith("<area name=\"logo\" left=\"1\" top=\"1\" right=\"6\" "
                            "bottom=\"2\"/>") << 6
            << "area \"logo\" (1, 1, 6, 2) lies outside the grid";
        QTest::newRow("area inside out")
            << templateWith("<area name=\"logo\" left=\"3\" top=\"1\" right=\"2\" "
                            "bottom=\"2\"/>") << 6 << "lies outside the grid";
        QTest::newRow("missing row")
            << templateWith("<cell col=\"1\">x</cell>") << 6 << "attribute row is missing";
        QTest::newRow("bad width")
            << templateWith("<column width=\"abc\"/>") << 6
            << "attribute width=\"abc\" is not a number";
        QTest::newRow("misspelt element")
            << templateWith("<cel row=\"1\" col=\"1\">x</cel>") << 6
            << "<cel> is not a template element";
        QTest::newRow("unknown font")
            << templateWith("<cell row=\"1\" col=\"1\" font=\"big\">x</cell>") << 6
            << "unknown font \"big\"";
        QTest::newRow("unknown alignment")
            << templateWith("<cell row=\"1\" col=\"1\" align=\"middle\">x</cell>") << 6
            << "align=\"middle\"";
        QTest::newRow("unknown border")
            << templateWith("<cell row=\"1\" col=\"1\" border=\"around\">x</cell>") << 6
            << "border \"around\"";
        QTest::newRow("missing image file")
            << templateWith("<image src=\"nothere.png\" left=\"1\" top=\"1\" right=\"2\" "
                            "bottom=\"2\"/>") << 6 << "image file \"nothere.png\" cannot be read";
        QTest::newRow("mismatched tag")
            << templateWith("<cell row=\"1\" col=\"1\">x</cel>") << 6 << "tag mismatch";
        QTest::newRow("element inside a cell")
            << templateWith("<cell row=\"1\" col=\"1\">x<b>y</b></cell>") << 6
            << "Expected character data";
        QTest::newRow("not closed at the end")
            << QByteArray("<workbook-template version=\"1\">\n<column width=\"10\"/>\n") << 3
            << "Premature end of document";
        QTest::newRow("wrong root")
            << QByteArray("<?xml version=\"1.0\"?>\n<html/>\n") << 2 << "root element";
        QTest::newRow("newer version")
            << QByteArray("<workbook-template version=\"2\">\n<column width=\"10\"/>\n"
                          "<row height=\"5\"/>\n</workbook-template>\n") << 1
            << "version 2 is not known";
        QTest::newRow("no grid")
            << QByteArray("<workbook-template version=\"1\">\n</workbook-template>\n") << 1
            << "has no grid";
        QTest::newRow("empty file") << QByteArray() << 1 << "Premature end of document";
    }
    void brokenTemplate()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, line);
        QFETCH(QString, message);
        TemplateReader reader(protocolNames());
        const QString path = QStringLiteral("/tmp/Leckmengen1.vts");
        QVERIFY(!reader.read(content, path));
        QVERIFY(!reader.errors().isEmpty());
        const QString text = reader.errorText();
        QVERIFY2(text.contains(QStringLiteral("%1:%2: ").arg(path).arg(line)),
                 qPrintable(text));
        QVERIFY2(text.contains(message), qPrintable(text));
    }

    void missingAndUnreadableFiles()
    {
        QTemporaryDir dir;
        TemplateReader reader(protocolNames());
        const QString missing = dir.filePath(QStringLiteral("Vorprüfung1.vts"));
        QVERIFY(!reader.read(missing));
        QCOMPARE(reader.errorText(), missing + QStringLiteral(": the template file does not "
                                                              "exist"));
        // A folder where the file should be cannot be read as a template.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Hauptprüfung1.vts")));
        const QString folder = dir.filePath(QStringLiteral("Hauptprüfung1.vts"));
        QVERIFY(!reader.read(folder));
        QVERIFY2(reader.errorText().startsWith(folder + QStringLiteral(": ")),
                 qPrintable(reader.errorText()));
    }

    void substitution_data()
    {
        QTest::addColumn<QString>("cellText");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Kunde: {Kunde}" << "Kunde" << "Müller" << "Kunde: Müller";
        QTest::newRow("value that looks like a placeholder")
            << "[{Bemerkung}]" << "Bemerkung" << "{Kunde}" << "[{Kunde}]";
        QTest::newRow("value with braces and a map")
            << "{Bemerkung}" << "Bemerkung" << "{Befund|Befund} }{" << "{Befund|Befund} }{";
        QTest::newRow("quotes") << "{Kunde}" << "Kunde" << "\"Haus\" 'Süd'"
                                << "\"Haus\" 'Süd'";
        QTest::newRow("line breaks kept") << "{Kunde}" << "Kunde" << "Name1\r\nName2"
                                          << "Name1\r\nName2";
        QTest::newRow("header codes are not codes here")
            << "{Bemerkung}" << "Bemerkung" << "&P &D &&" << "&P &D &&";
        QTest::newRow("undefined name is empty") << "a{Pruefer}b" << "Kunde" << "x" << "ab";
        QTest::newRow("same name twice") << "{Ort}/{Ort}" << "Ort" << "{Ort}" << "{Ort}/{Ort}";
        QTest::newRow("finding through the map") << "{Befund|Befund}" << "Befund" << "2"
                                                 << "nOK";
        QTest::newRow("finding code without text") << "{Befund|Befund}" << "Befund" << "7"
                                                   << "7";
        QTest::newRow("no finding") << "{Befund|Befund}" << "Befund" << "255" << "";
        QTest::newRow("escaped braces") << "{{{Ort}}}" << "Ort" << "x" << "{x}";
    }
    void substitution()
    {
        QFETCH(QString, cellText);
        QFETCH(QString, name);
        QFETCH(QString, value);
        TemplateReader reader(protocolNames());
        QString escaped = cellText.toHtmlEscaped();
        const std::optional<WorkbookTemplate> workbook = reader.read(
            templateWith("<cell row=\"1\" col=\"1\">" + escaped.toUtf8() + "</cell>"),
            QStringLiteral("t.vts"));
        QVERIFY2(workbook, qPrintable(reader.errorText()));
        FilledTemplate protocol(*workbook);
        protocol.defineName(name, value);
        QTEST(protocol.cellText(workbook->cells.first()), "shown");
    }
};

QTEST_MAIN(TemplateReaderTest)
#include "TemplateReaderTest.moc"
