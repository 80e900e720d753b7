#include "sync/InfraredFileReader.h"
#include "sync/NumberText.h"
#include "data/CodePage.h"

#include <QTest>

#include <functional>

namespace {

// A test file as the instrument writes it: Windows-1252 text with CRLF line ends.
QByteArray file(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

// The lines every case starts from: a dated test of an instrument.
QStringList dated(const QStringList &lines)
{
    return QStringList{QStringLiteral("SNR: 063 02 00420"),
                       QStringLiteral("START: 7.3.05 14:5:9")}
           + lines;
}

// The shortest text that reads back as the same single, so 104.99999 never passes for 105.
QString text(float value)
{
    return NumberText::fromSingle(value, QLocale::c());
}

// The values of a test by the name of the column they go to.
QString field(const TestRecord &test, const QString &name)
{
    static const QHash<QString, std::function<QString(const TestRecord &)>> fields = {
        {"KundenNr", [](const TestRecord &t) { return t.customerNumber; }},
        {"ZaehlerNr", [](const TestRecord &t) { return t.meterNumber; }},
        {"Pruefart", [](const TestRecord &t) { return QString::number(t.testKind); }},
        {"Druck", [](const TestRecord &t) { return text(t.startPressure); }},
        {"EndDruck", [](const TestRecord &t) { return text(t.endPressure); }},
        {"Fluss", [](const TestRecord &t) { return text(t.flow); }},
        {"Datum", [](const TestRecord &t) { return t.date.toString(Qt::ISODate); }},
        {"Druckkurve", [](const TestRecord &t) { return t.pressureCurve; }},
        {"Flusskurve", [](const TestRecord &t) { return t.flowCurve; }},
        {"FabNr", [](const TestRecord &t) { return t.instrumentNumber; }},
        {"Dauer", [](const TestRecord &t) { return QString::number(t.duration); }},
        {"Befund", [](const TestRecord &t) { return QString::number(t.finding); }},
        {"Gasart", [](const TestRecord &t) { return t.gasType; }},
        {"Fliessdruck", [](const TestRecord &t) { return text(t.flowPressure); }},
        {"Ruhedruck", [](const TestRecord &t) { return text(t.staticPressure); }},
        {"SAVDruck", [](const TestRecord &t) { return text(t.safetyValvePressure); }},
        {"Nullabschluss",
         [](const TestRecord &t) { return QString::number(t.zeroShutOffFinding); }},
        {"GMSicherung",
         [](const TestRecord &t) { return QString::number(t.lowFlowSafetyFinding); }},
        {"LeitungsVol", [](const TestRecord &t) { return t.pipeVolume; }},
        {"Messzeit", [](const TestRecord &t) { return t.measuringTime; }},
        {"RefDruck", [](const TestRecord &t) { return t.referencePressure; }},
        {"Leckrate", [](const TestRecord &t) { return t.leakRate; }},
        {"Pruefer", [](const TestRecord &t) { return t.inspector + t.client + t.remark; }},
    };
    const auto value = fields.constFind(name);
    return value == fields.cend() ? QStringLiteral("<no field %1>").arg(name) : (*value)(test);
}

using Expected = QList<QPair<QString, QString>>;

} // namespace

class InfraredFileReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTest_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Expected>("expected");

        QTest::newRow("every key")
            << file({"GERAET: Lumetra 4", "SNR: 063 02 00420", "FIRMWARE: V2.10",
                     "MESSUNG: 17", "KNR: 4711", "ZNR: 12345678", "MODUS: Dichtheitspruefung",
                     "START: 7.3.05 14:5:9", "GAS: Erdgas", "LECKRATE: 1.5 l/h",
                     "MESSWERTSTART: 21.5 mbar", "MESSWERTENDE: 20.25 mbar",
                     "MESSDAUER: 10.5 min", "VOLUMEN: <200 l", "VP952LECKRATE: 1.65 l/h",
                     "REFDRUCK: 21 mbar", "ANLAGE: BEDINGT OK", "Fliessdruck: 22.5 mbar",
                     "Ruhedruck: 24.1 mbar", "SAV-Pruef: 60.2 mbar", "Nullabschluss: OK",
                     "GM-Sicherung : ---", "MESSWERTE: 2", "MESSINTERVALL: 1000 ms",
                     "MESSWERTEPROINTERVALL: 2", "UNIT: mbar", "1: 0.50; 21.3",
                     "2: 0.40; 21.1", "END:", "END:"})
            << "C"
            << Expected{{"FabNr", "063 02 00420"}, {"KundenNr", "4711"},
                        {"ZaehlerNr", "12345678"}, {"Pruefart", "2"},
                        {"Datum", "2005-03-07T14:05:09"}, {"Gasart", "Erdgas"},
                        {"Fluss", "1.5"}, {"Druck", "21.5"}, {"EndDruck", "20.25"},
                        {"Messzeit", "10.5"}, {"LeitungsVol", "200"}, {"Leckrate", "1.65"},
                        {"RefDruck", "21"}, {"Befund", "1"}, {"Fliessdruck", "22.5"},
                        {"Ruhedruck", "24.1"}, {"SAVDruck", "60.2"}, {"Nullabschluss", "0"},
                        {"GMSicherung", "3"}, {"Dauer", "2"},
                        {"Druckkurve", "213:211:2:213:211:"}, {"Flusskurve", "5:4:2:5:4:"},
                        {"Pruefer", ""}};
        QTest::newRow("a file of dates only: nothing measured")
            << file(dated({})) << "C"
            << Expected{{"KundenNr", ""}, {"ZaehlerNr", ""}, {"Befund", "255"},
                        {"Fliessdruck", "-99999"}, {"Ruhedruck", "-99999"},
                        {"SAVDruck", "-99999"}, {"Nullabschluss", "255"},
                        {"GMSicherung", "255"}, {"Druckkurve", ""}, {"Dauer", "0"},
                        {"RefDruck", ""}};
        QTest::newRow("customer number 0 gives the measurement")
            << file(dated({"KNR: 0", "MESSUNG: 17"})) << "C" << Expected{{"KundenNr", "M17"}};
        QTest::newRow("empty customer number gives the measurement")
            << file(dated({"MESSUNG: 5", "KNR:"})) << "C" << Expected{{"KundenNr", "M5"}};
        QTest::newRow("customer number without leading zeros")
            << file(dated({"KNR: 4711", "MESSUNG: 17"})) << "C"
            << Expected{{"KundenNr", "4711"}};
        QTest::newRow("empty meter number") << file(dated({"ZNR:"})) << "C"
                                            << Expected{{"ZaehlerNr", "0"}};
        QTest::newRow("load test start pressure in bar")
            << file(dated({"MODUS: Belastungspruefung", "MESSWERTSTART: 0.105 bar",
                           "MESSWERTENDE: 0.1 bar"}))
            << "C" << Expected{{"Pruefart", "1"}, {"Druck", "105"}, {"EndDruck", "100"}};
        QTest::newRow("test kind read after the pressure")
            << file(dated({"MESSWERTSTART: 0.105 bar", "MODUS: Belastungspruefung"})) << "C"
            << Expected{{"Pruefart", "1"}, {"Druck", "0.105"}};
        QTest::newRow("unknown test kind leaves it")
            << file(dated({"MODUS: Reglerpruefung", "MODUS: Sichtpruefung"})) << "C"
            << Expected{{"Pruefart", "3"}};
        QTest::newRow("serviceability test")
            << file(dated({"MODUS: Gebrauchsfaehigkeitspruefung", "DRUCK: 21.7 mbar"})) << "C"
            << Expected{{"Pruefart", "0"}, {"EndDruck", "21.7"}};
        QTest::newRow("flow without a unit reads 0")
            << file(dated({"LECKRATE: 1.2"})) << "C" << Expected{{"Fluss", "0"}};
        QTest::newRow("flow with a unit") << file(dated({"LECKRATE: 1.2 l/h"})) << "C"
                                          << Expected{{"Fluss", "1.2"}};
        QTest::newRow("number stops at the first character that cannot continue it")
            << file(dated({"DRUCK: 21,5 mbar", "LECKRATE: -1.5e1x l/h"})) << "C"
            << Expected{{"EndDruck", "21"}, {"Fluss", "-15"}};
        QTest::newRow("one value per sample line")
            << file(dated({"MESSWERTE: 3", "MESSINTERVALL: 2000 ms", "MESSWERTEPROINTERVALL: 1",
                           "UNIT: mbar", "1: 21.3", "2: 21.1", "3: 22", "END:"}))
            << "C"
            << Expected{{"Druckkurve", "220:211:3:213:211:220:"}, {"Flusskurve", ""},
                        {"Dauer", "6"}};
        QTest::newRow("one value per line of a load test in bar")
            << file(dated({"MODUS: Belastungspruefung", "MESSWERTE: 2", "UNIT: bar",
                           "1: 0.105", "2: 0.1004", "END:"}))
            << "C" << Expected{{"Druckkurve", "1050:1004:2:1050:1004:"}};
        QTest::newRow("two values per line of a load test stay unscaled")
            << file(dated({"MODUS: Belastungspruefung", "MESSWERTE: 1",
                           "MESSWERTEPROINTERVALL: 2", "UNIT: bar", "1: 1.5; 0.105", "END:"}))
            << "C" << Expected{{"Druckkurve", "1:1:1:1:"}, {"Flusskurve", "15:15:1:15:"}};
        QTest::newRow("samples rounded halves to even, negative values")
            << file(dated({"MESSWERTE: 3", "UNIT: mbar", "1: 0.25", "2: -0.35", "3: 0.15",
                           "END:"}))
            << "C" << Expected{{"Druckkurve", "2:-4:3:2:-4:2:"}};
        QTest::newRow("keys go on after the samples")
            << file(dated({"MESSWERTE: 1", "UNIT: mbar", "1: 20", "END:", "ANLAGE: OK"}))
            << "C" << Expected{{"Druckkurve", "200:200:1:200:"}, {"Befund", "0"}};
        QTest::newRow("blank lines between samples")
            << file(dated({"MESSWERTE: 2", "UNIT: mbar", "1: 20", "", "2: 21", "END:"}))
            << "C" << Expected{{"Druckkurve", "210:200:2:200:210:"}};
        QTest::newRow("unit without samples is ignored")
            << file(dated({"MESSWERTE: 0", "UNIT: mbar", "ANLAGE: OK"})) << "C"
            << Expected{{"Druckkurve", ""}, {"Befund", "0"}};
        QTest::newRow("END: ends the file")
            << file(dated({"ANLAGE: OK", "END:", "ANLAGE: NICHT OK", "KNR: 12"})) << "C"
            << Expected{{"Befund", "0"}, {"KundenNr", ""}};
        QTest::newRow("unknown keys and lines without a colon")
            << file(dated({"snr: 1", "SNR : 2", "BEMERKUNG: x", "ANLAGE OK", "KNR 5",
                           "GM-Sicherung: OK", "ANLAGE:   nOK  "}))
            << "C"
            << Expected{{"FabNr", "063 02 00420"}, {"KundenNr", ""}, {"GMSicherung", "255"},
                        {"Befund", "2"}};
        QTest::newRow("duration halves to even")
            << file(dated({"MESSWERTE: 10", "MESSINTERVALL: 2500 ms"})) << "C"
            << Expected{{"Dauer", "20"}};
        QTest::newRow("number texts in the running format")
            << file(dated({"MESSDAUER: 10.5 min", "VP952LECKRATE: 1.65 l/h",
                           "REFDRUCK: 21.5 mbar"}))
            << "de_DE"
            << Expected{{"Messzeit", "10,5"}, {"Leckrate", "1,65"}, {"RefDruck", "21,5"}};
        QTest::newRow("Windows-1252 text")
            << QByteArray("START: 1.1.24 0:0:0\r\nGAS: Fl\xFCssiggas \x96 \x80\r\n") << "C"
            << Expected{{"Gasart", QString::fromUtf8("Flüssiggas – €")}};
        QTest::newRow("line feeds only, no line end at the end")
            << QByteArray("START: 1.1.24 0:0:0\nKNR: 12\nZNR: 5") << "C"
            << Expected{{"KundenNr", "12"}, {"ZaehlerNr", "5"}};
    }

    void readsTest()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, locale);
        QFETCH(Expected, expected);
        InfraredFileReader reader{QLocale(locale)};
        const InfraredFileResult result = reader.read(content);
        QVERIFY2(result.ok(), qPrintable(result.problem.text));
        for (const auto &[name, value] : expected)
            QCOMPARE(field(result.test, name), value);
    }

    void findings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("code");
        const QList<std::tuple<const char *, const char *>> findings = {
            {"OK", "0"}, {"BEDINGT OK", "1"}, {"bOK", "1"}, {"NICHT OK", "2"}, {"nOK", "2"},
            {"MESSABBRUCH", "3"}, {"MESSWERTE NICHT STABIL", "4"}, {"ok", "255"}};
        for (const auto &[value, code] : findings)
            QTest::addRow("ANLAGE %s", value) << "ANLAGE:" << value << "Befund" << code;
        const QList<std::tuple<const char *, const char *>> safety = {
            {"OK", "0"}, {"NICHT OK", "2"}, {"nOK", "2"}, {"---", "3"}, {"bOK", "255"}};
        for (const auto &[value, code] : safety) {
            QTest::addRow("Nullabschluss %s", value)
                << "Nullabschluss:" << value << "Nullabschluss" << code;
            QTest::addRow("GM-Sicherung %s", value)
                << "GM-Sicherung :" << value << "GMSicherung" << code;
        }
    }

    void findings()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, fieldName);
        QFETCH(QString, code);
        InfraredFileReader reader{QLocale::c()};
        const InfraredFileResult result = reader.read(file(dated({key + u' ' + value})));
        QVERIFY(result.ok());
        QCOMPARE(field(result.test, fieldName), code);
    }

    void dates_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("date");
        QTest::newRow("example") << "7.3.05 14:5:9" << "2005-03-07T14:05:09";
        QTest::newRow("year 00") << "1.1.00 0:0:0" << "2000-01-01T00:00:00";
        QTest::newRow("year 29") << "31.12.29 23:59:59" << "2029-12-31T23:59:59";
        QTest::newRow("year 30") << "1.1.30 0:0:0" << "1930-01-01T00:00:00";
        QTest::newRow("year 99") << "28.2.99 12:30:00" << "1999-02-28T12:30:00";
        QTest::newRow("leap day") << "29.2.24 8:0:0" << "2024-02-29T08:00:00";
        QTest::newRow("leading zeros") << "07.03.05 09:05:09" << "2005-03-07T09:05:09";
    }

    void dates()
    {
        QFETCH(QString, start);
        QFETCH(QString, date);
        InfraredFileReader reader{QLocale::c()};
        const InfraredFileResult result = reader.read(file({"START: " + start}));
        QVERIFY(result.ok());
        QCOMPARE(result.test.date.toString(Qt::ISODate), date);
    }

    void pipeVolumeReference_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("reference");
        QTest::newRow("old firmware") << QStringList{"FIRMWARE: V2.10", "DRUCK: 25 mbar"}
                                      << "200" << "22";
        QTest::newRow("V3.00 sorts before 3000")
            << QStringList{"FIRMWARE: V3.00", "DRUCK: 25 mbar"} << "200" << "22";
        QTest::newRow("new firmware") << QStringList{"FIRMWARE: V3.01", "DRUCK: 25 mbar"}
                                      << "200" << "23";
        QTest::newRow("end pressure above 30 wins")
            << QStringList{"FIRMWARE: V2.10", "REFDRUCK: 21 mbar", "DRUCK: 45.5 mbar"} << "200"
            << "45.5";
        QTest::newRow("reference pressure read") << QStringList{"REFDRUCK: 21 mbar"} << "200"
                                                  << "21";
    }

    void pipeVolumeReference()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, volume);
        QFETCH(QString, reference);
        InfraredFileReader reader{QLocale::c()};
        const InfraredFileResult result = reader.read(file(dated(lines + QStringList{
            "VOLUMEN: <200 l"})));
        QVERIFY(result.ok());
        QCOMPARE(result.test.pipeVolume, volume);
        QCOMPARE(result.test.referencePressure, reference);
    }

    void withoutPipeVolumeNoReference()
    {
        InfraredFileReader reader{QLocale::c()};
        const InfraredFileResult result = reader.read(file(dated({"DRUCK: 45 mbar"})));
        QVERIFY(result.ok());
        QCOMPARE(result.test.referencePressure, QString());
    }

    // Firmware, sample count, interval and values per line carry over; nothing else does.
    void carriesOverBetweenFiles()
    {
        InfraredFileReader reader{QLocale::c()};
        const InfraredFileResult first = reader.read(file(
            {"SNR: 1", "FIRMWARE: V3.10", "KNR: 4711", "ZNR: 99", "GAS: Erdgas", "ANLAGE: OK",
             "MODUS: Reglerpruefung", "Fliessdruck: 20 mbar", "START: 1.1.24 0:0:0",
             "MESSWERTE: 2", "MESSINTERVALL: 3000 ms", "MESSWERTEPROINTERVALL: 2", "UNIT: mbar",
             "1: 1; 20", "2: 1; 21", "END:"}));
        QVERIFY(first.ok());
        const InfraredFileResult second = reader.read(file(
            {"START: 2.1.24 0:0:0", "MESSUNG: 3", "VOLUMEN: 100 l", "UNIT: mbar", "1: 2; 22",
             "2: 3; 23", "END:"}));
        QVERIFY(second.ok());
        const TestRecord &test = second.test;
        QCOMPARE(test.referencePressure, QStringLiteral("23")); // firmware V3.10
        QCOMPARE(test.duration, int16_t(6));
        QCOMPARE(test.pressureCurve, QStringLiteral("230:220:2:220:230:"));
        QCOMPARE(test.flowCurve, QStringLiteral("30:20:2:20:30:"));
        QCOMPARE(test.instrumentNumber, QString());
        QCOMPARE(test.customerNumber, QStringLiteral("M3"));
        QCOMPARE(test.meterNumber, QString());
        QCOMPARE(test.gasType, QString());
        QCOMPARE(test.finding, TestRecord::noFinding);
        QCOMPARE(test.testKind, uint8_t(0));
        QCOMPARE(test.flowPressure, TestRecord::notMeasured);
    }

    void refusesFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("line"); // 0 for a problem of the whole file
        const int incomplete = int(InfraredFileProblem::Kind::Incomplete);
        const int invalid = int(InfraredFileProblem::Kind::InvalidValue);

        QTest::newRow("empty") << QByteArray() << incomplete << 0;
        QTest::newRow("binary") << QByteArray("START: 1.1.24 0:0:0\r\n\x00\x01\x02\xff", 25)
                                << incomplete << 0;
        QTest::newRow("too large")
            << QByteArray(InfraredFileReader::maximumFileSize + 1, 'A') << incomplete << 0;
        QTest::newRow("no test date") << file({"SNR: 1", "KNR: 5", "END:"}) << incomplete << 0;
        QTest::newRow("cut off in the samples")
            << file(dated({"MESSWERTE: 3", "UNIT: mbar", "1: 20", "2: 21"})) << incomplete << 0;
        QTest::newRow("more samples than the count")
            << file(dated({"MESSWERTE: 1", "UNIT: mbar", "1: 20", "2: 21", "END:"}))
            << incomplete << 0;
        QTest::newRow("day that does not exist")
            << file({"SNR: 1", "START: 31.2.05 10:0:0"}) << invalid << 2;
        QTest::newRow("hour that does not exist")
            << file({"START: 7.3.05 25:0:0"}) << invalid << 1;
        QTest::newRow("month 13") << file({"START: 7.13.05 10:0:0"}) << invalid << 1;
        QTest::newRow("four-digit year") << file({"START: 7.3.2005 14:5:9"}) << invalid << 1;
        QTest::newRow("no time") << file({"START: 7.3.05"}) << invalid << 1;
        QTest::newRow("letters") << file({"START: 7.3.o5 14:5:9"}) << invalid << 1;
        QTest::newRow("customer number not a number")
            << file(dated({"KNR: Meier"})) << invalid << 3;
        QTest::newRow("sample not a number")
            << file(dated({"MESSWERTE: 2", "UNIT: mbar", "1: 20", "2: x", "END:"})) << invalid
            << 6;
        QTest::newRow("sample beyond 16 bits")
            << file(dated({"MESSWERTE: 1", "UNIT: mbar", "1: 3276.8", "END:"})) << invalid << 5;
        QTest::newRow("load test sample beyond 16 bits")
            << file(dated({"MODUS: Belastungspruefung", "MESSWERTE: 1", "UNIT: bar",
                           "1: 3.3", "END:"}))
            << invalid << 6;
        QTest::newRow("two values without semicolon")
            << file(dated({"MESSWERTEPROINTERVALL: 2", "MESSWERTE: 1", "UNIT: mbar", "1: 20",
                           "END:"}))
            << invalid << 6;
        QTest::newRow("number beyond a double") << file(dated({"LECKRATE: 1e999 l/h"}))
                                                << invalid << 3;
        QTest::newRow("number beyond a single") << file(dated({"DRUCK: 1e300 mbar"}))
                                                << invalid << 3;
        QTest::newRow("absurd sample count") << file(dated({"MESSWERTE: 1e9"})) << invalid << 3;
        QTest::newRow("negative sample count") << file(dated({"MESSWERTE: -5"})) << invalid
                                               << 3;
        QTest::newRow("duration beyond 16 bits")
            << file(dated({"MESSWERTE: 1000", "MESSINTERVALL: 60000 ms"})) << invalid << 4;
    }

    void refusesFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, kind);
        QFETCH(int, line);
        InfraredFileReader reader{QLocale::c()};
        const InfraredFileResult result = reader.read(content);
        QCOMPARE(int(result.problem.kind), kind);
        QCOMPARE(result.problem.line, line);
        if (line > 0) {
            const QString lineText = CodePage::decode(content, CodePage::Id::Windows1252)
                                         .split(u'\n')
                                         .at(line - 1)
                                         .chopped(1);
            QCOMPARE(result.problem.text, lineText);
        }
    }

    void decodesEveryByte()
    {
        QByteArray bytes;
        for (int code = 0; code < 256; ++code)
            bytes += char(code);
        const QString text = CodePage::decode(bytes, CodePage::Id::Windows1252);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.left(128), QString::fromLatin1(bytes.left(128)));
        QCOMPARE(text.mid(0xA0), QString::fromLatin1(bytes.mid(0xA0)));
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x81), QChar(0x0081)); // undefined in the code page
        QCOMPARE(text.at(0x8A), QChar(0x0160));
        QCOMPARE(text.at(0x96), QChar(0x2013));
        QCOMPARE(text.at(0x9F), QChar(0x0178));
    }
};

QTEST_GUILESS_MAIN(InfraredFileReaderTest)
#include "InfraredFileReaderTest.moc"
