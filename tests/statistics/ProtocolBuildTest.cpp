#include "support/PdfText.h"

#include "data/ColumnCaptions.h"
#include "data/RuntimeError.h"
#include "data/StringTable.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/ProtocolBatch.h"
#include "statistics/ProtocolBuilder.h"
#include "statistics/ProtocolNameValues.h"
#include "statistics/ProtocolTemplateChoice.h"
#include "statistics/ProtocolTest.h"
#include "statistics/PageUnits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString templates = QStringLiteral(LUMETRA4_SOURCE_DIR "/templates");
const QLocale german(QLocale::German, QLocale::Germany);

ProtocolTest sampleTest(int kind)
{
    ProtocolTest test;
    test.kind = kind;
    test.date = QDateTime(QDate(2009, 3, 4), QTime(9, 5));
    test.kundenNr = QStringLiteral("K-4711");
    test.name1 = QStringLiteral("Erika Mustermann");
    test.name2 = QStringLiteral("Hausverwaltung Nord");
    test.strasse = QStringLiteral("Lindenstraße 12");
    test.plz = QStringLiteral("12345");
    test.ort = QStringLiteral("Musterstadt");
    test.zaehlerNr = QStringLiteral("Z-NEW-1");
    test.adsZaehlerNr = QStringLiteral("Z-77001");
    test.adsZaehlerNrAlt = QStringLiteral("Z-66002");
    test.druck = kind == 1 ? 1012.4 : 25.43;
    test.endDruck = kind == 1 ? 1009.6 : 24.96;
    test.fluss = 1.25;
    test.befund = 1;
    test.pruefer = QStringLiteral("Max Prüfer");
    test.auftraggeber = QStringLiteral("Stadtwerke Musterstadt");
    test.fabNr = QStringLiteral("063 01 04711");
    test.bemerkung = QStringLiteral("Hauptabsperreinrichtung erneuert");
    test.druckkurve = QStringLiteral("260:230:8:230:245:258:260:252:247:244:242:");
    test.flusskurve = QStringLiteral("20:5:6:5:12:18:20:16:15:");
    test.dauer = 300;
    if (kind == 3) {
        test.fliessdruck = 21.84;
        test.ruhedruck = -99999;
        test.savDruck = 48.2;
        test.befundNullabschluss = 0;
        test.befundGMSicherung = 3;
    }
    return test;
}

ProtocolTest leakTest(double refDruck)
{
    ProtocolTest test = sampleTest(0);
    test.leitungsVol = 2.0;
    test.refDruck = refDruck;
    test.leckrate = 0.84;
    return test;
}

// The fixed texts a protocol shows in each language with templates of its own. Written out
// here, not read from the templates, so that a template with the wrong language fails.
struct LanguageTexts
{
    int languageNo;
    const char *code;
    const char *title;
    const char *kinds[4];
    const char *rules;      // followed by the rule set, "1986/1996" or "2008"
    const char *leakMethod; // %1: "G5952" or "VP952"
    const char *conditionalFindings[4]; // finding 1 (bOK) of each kind
};

const LanguageTexts languageTexts[] = {
    {1, "de", "Prüfprotokoll",
     {"Gebrauchsfähigkeitsprüfung einer Niederdruck-Gasinstallation",
      "Belastungsprüfung einer Gasleitung", "Dichtheitsprüfung einer Gasleitung",
      "Prüfung des Gas-Druckregelgeräts"},
     "Regelwerk: DVGW-TRGI ", "Leckmengenmessung nach Verfahren %1",
     {"bedingt gebrauchsfähig (bOK)", "bedingt bestanden (bOK)", "bedingt dicht (bOK)",
      "bedingt in Ordnung (bOK)"}},
    {2, "en", "Test Report",
     {"Test of working order of a low-pressure gas installation", "Preliminary test (load test) of a gas line",
      "Main test (tightness test) of a gas line", "Test of the gas pressure regulator"},
     "Rules: DVGW-TRGI ", "Leak rate measured by method %1",
     {"conditionally in working order (Cond. OK)", "conditionally passed (Cond. OK)",
      "conditionally tight (Cond. OK)", "conditionally in order (Cond. OK)"}},
    {4, "it", "Rapporto di prova",
     {"Prova di idoneità all'uso di un impianto gas a bassa pressione",
      "Prova di carico di una tubazione gas", "Prova di tenuta di una tubazione gas",
      "Prova del regolatore di pressione gas"},
     "Normativa: DVGW-TRGI ", "Misura della portata di perdita con il metodo %1",
     {"idoneo all'uso con riserva (OK con riserva)", "superata con riserva (OK con riserva)",
      "a tenuta con riserva (OK con riserva)", "conforme con riserva (OK con riserva)"}},
    {5, "pl", "Protokół z próby",
     {"Próba zdatności do użytkowania niskoprężnej instalacji gazowej",
      "Próba obciążeniowa przewodu gazowego", "Próba szczelności przewodu gazowego",
      "Próba reduktora ciśnienia gazu"},
     "Przepisy: DVGW-TRGI ", "Pomiar wielkości wycieku metodą %1",
     {"warunkowo zdatna do użytkowania (Warunkowo OK)",
      "wynik warunkowo pozytywny (Warunkowo OK)", "warunkowo szczelny (Warunkowo OK)",
      "warunkowo sprawny (Warunkowo OK)"}},
    {6, "hu", "Vizsgálati jegyzőkönyv",
     {"Kisnyomású gázberendezés használhatósági vizsgálata", "Gázvezeték terheléses próbája",
      "Gázvezeték tömörségi próbája", "Gáznyomás-szabályozó vizsgálata"},
     "Szabályzat: DVGW-TRGI ", "Szivárgási mennyiség mérése a %1 eljárással",
     {"feltételesen használható (Feltételesen OK)", "feltételesen megfelelt (Feltételesen OK)",
      "feltételesen tömör (Feltételesen OK)", "feltételesen megfelelő (Feltételesen OK)"}},
    {7, "sl", "Zapisnik o preizkusu",
     {"Preizkus uporabnosti nizkotlačne plinske napeljave", "Obremenilni preizkus plinovoda",
      "Preizkus tesnosti plinovoda", "Preizkus regulatorja tlaka plina"},
     "Predpisi: DVGW-TRGI ", "Meritev količine puščanja po postopku %1",
     {"pogojno uporabna (Pogojno OK)", "pogojno ustreza (Pogojno OK)",
      "pogojno tesen (Pogojno OK)", "pogojno brezhiben (Pogojno OK)"}},
    {8, "hr", "Zapisnik o ispitivanju",
     {"Ispitivanje uporabljivosti niskotlačne plinske instalacije",
      "Ispitivanje opterećenjem plinovoda", "Ispitivanje nepropusnosti plinovoda",
      "Ispitivanje regulatora tlaka plina"},
     "Propisi: DVGW-TRGI ", "Mjerenje količine propuštanja postupkom %1",
     {"uvjetno uporabljiva (Uvjetno OK)", "uvjetno zadovoljava (Uvjetno OK)",
      "uvjetno nepropustan (Uvjetno OK)", "uvjetno ispravan (Uvjetno OK)"}},
    {9, "cs", "Protokol o zkoušce",
     {"Zkouška provozuschopnosti nízkotlaké plynové instalace", "Zátěžová zkouška plynovodu",
      "Zkouška těsnosti plynovodu", "Zkouška regulátoru tlaku plynu"},
     "Předpisy: DVGW-TRGI ", "Měření množství úniku metodou %1",
     {"podmíněně provozuschopná (Podmíněně OK)", "vyhověla s výhradou (Podmíněně OK)",
      "podmíněně těsný (Podmíněně OK)", "podmíněně v pořádku (Podmíněně OK)"}},
};

// A logo of strong colour, wider than high, so its pixels can be found on the page.
QString writeLogo(const QTemporaryDir &dir)
{
    QImage logo(300, 100, QImage::Format_RGB32);
    logo.fill(QColor(200, 0, 0));
    const QString path = dir.filePath(QStringLiteral("Firma.png"));
    logo.save(path);
    return path;
}

QImage pdfPage(const QString &pdf, int dpi)
{
    const QString prefix = pdf + QStringLiteral(".page");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                       QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                       QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// Share of pixels inside the rectangle (a little inside its edges) that are not white.
double inkShare(const QImage &page, const FilledTemplate &protocol, const CellRectangle &r,
                int dpi)
{
    const double scale = dpi / 72.0 / PageUnits::perPoint;
    const QRectF sheet = protocol.sheetRect(r);
    const QRect area = QRectF(sheet.topLeft() * scale, sheet.size() * scale)
                           .toAlignedRect().adjusted(3, 3, -3, -3);
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += page.pixelColor(x, y).lightness() < 240;
    return double(ink) / double(area.width() * area.height());
}

} // namespace

Q_DECLARE_METATYPE(ProtocolTest)
Q_DECLARE_METATYPE(CellRectangle)

// Which template a test reads, what its protocol says, and the protocol on paper.
class ProtocolBuildTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
    }

    void templateChoice_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QVariant>("lineVolume");
        QTest::addColumn<QVariant>("refPressure");
        QTest::addColumn<QString>("file");
        QTest::addColumn<CellRectangle>("logo");
        QTest::addColumn<int>("flowRight"); // 0: no flow chart

        const QDate before(2008, 4, 30), first(2008, 5, 1), later(2009, 6, 1);
        const QVariant none;
        QTest::newRow("0 before May 2008 with volume")
            << 0 << before << QVariant(2.0) << QVariant(23.0)
            << "Leckmengen1_TRGI8696.vts" << CellRectangle{10, 1, 12, 7} << 14;
        QTest::newRow("0 on 1 May 2008, 23 mbar") << 0 << first << QVariant(2.0)
            << QVariant(23.0) << "Leckmengen1_G5952.vts" << CellRectangle{10, 1, 14, 7} << 14;
        QTest::newRow("0 22.5 mbar") << 0 << first << QVariant(2.0) << QVariant(22.5)
            << "Leckmengen1_VP952.vts" << CellRectangle{10, 1, 14, 7} << 14;
        QTest::newRow("0 22.96 mbar reads 23,0") << 0 << later << QVariant(2.0)
            << QVariant(22.96) << "Leckmengen1_G5952.vts" << CellRectangle{10, 1, 14, 7} << 14;
        QTest::newRow("0 no reference pressure") << 0 << later << QVariant(0.5) << none
            << "Leckmengen1_VP952.vts" << CellRectangle{10, 1, 14, 7} << 14;
        QTest::newRow("0 2009 without volume") << 0 << later << none << QVariant(23.0)
            << "Leckmengen1.vts" << CellRectangle{10, 1, 12, 7} << 12;
        QTest::newRow("1 before") << 1 << before << none << none
            << "Vorprüfung1_TRGI8696.vts" << CellRectangle{10, 1, 12, 7} << 0;
        QTest::newRow("1 2009") << 1 << later << none << none << "Vorprüfung1.vts"
                                << CellRectangle{10, 1, 12, 7} << 0;
        QTest::newRow("2 with volume") << 2 << later << QVariant(3.0) << QVariant(23.0)
            << "Hauptprüfung1.vts" << CellRectangle{10, 1, 14, 7} << 0;
        QTest::newRow("3 before") << 3 << before << none << none
            << "Reglerprüfung1_TRGI8696.vts" << CellRectangle{14, 1, 18, 7} << 0;
        QTest::newRow("3 2009") << 3 << later << none << none << "Reglerprüfung1.vts"
                                << CellRectangle{14, 1, 18, 7} << 0;
    }

    void templateChoice()
    {
        QFETCH(int, kind);
        QFETCH(QDate, date);
        QFETCH(QVariant, lineVolume);
        QFETCH(QVariant, refPressure);
        QFETCH(QString, file);
        QFETCH(CellRectangle, logo);
        QFETCH(int, flowRight);
        const ProtocolTemplateChoice choice =
            ChooseProtocolTemplate(kind, QDateTime(date, QTime(23, 59)), lineVolume, refPressure);
        QCOMPARE(choice.fileName(1), file);
        QVERIFY(choice.logo.has_value());
        QCOMPARE(*choice.logo, logo);
        QCOMPARE(choice.flowChart ? choice.flowChart->right : 0, flowRight);
        QVERIFY(QFile::exists(templates + QLatin1Char('/') + file));
        QVERIFY(QFile::exists(templates + QLatin1Char('/') + choice.fileName(2)));
    }

    void unknownKindHasNoProtocol()
    {
        ProtocolBuilder builder(templates, 1, QString(), german);
        ProtocolTest test = sampleTest(0);
        test.kind = 7;
        QVERIFY(!builder.build(test));
        test.kind = QVariant();
        QVERIFY(!builder.check(test));
    }

    void namedValues_data()
    {
        QTest::addColumn<ProtocolTest>("test");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("defined");

        QTest::newRow("RefDruck G5952") << leakTest(23) << "RefDruck" << "23,0" << true;
        QTest::newRow("RefDruck VP952") << leakTest(22.5) << "RefDruck" << "22,0" << true;
        QTest::newRow("leak rate G5952") << leakTest(23) << "LeckrateG5952" << "0,8" << true;
        QTest::newRow("leak rate VP952") << leakTest(22) << "LeckrateVP952" << "0,8" << true;
        QTest::newRow("no VP952 rate for G5952") << leakTest(23) << "LeckrateVP952" << ""
                                                 << false;
        QTest::newRow("line volume") << leakTest(23) << "Leistungsvolumen" << "< 2,0" << true;
        QTest::newRow("no volume, no name") << sampleTest(0) << "Leistungsvolumen" << ""
                                            << false;
        QTest::newRow("pressure kind 0") << sampleTest(0) << "Druck" << "25,4" << true;
        QTest::newRow("pressure kind 1") << sampleTest(1) << "Druck" << "1012" << true;
        QTest::newRow("end pressure kind 1") << sampleTest(1) << "Druckende" << "1010" << true;
        QTest::newRow("no pressure kind 3") << sampleTest(3) << "Druck" << "" << false;
        QTest::newRow("flow") << sampleTest(2) << "Fluss" << "1,3" << true;
        QTest::newRow("static not measured") << sampleTest(3) << "Ruhedruck" << "---" << true;
        QTest::newRow("flowing pressure") << sampleTest(3) << "Fliessdruck" << "21,8" << true;
        QTest::newRow("zero shut-off code") << sampleTest(3) << "Nullabschluss" << "0" << true;
        QTest::newRow("gas shortage code") << sampleTest(3) << "GMSicherung" << "3" << true;
        QTest::newRow("customer") << sampleTest(0) << "Kunde"
                                  << "Erika Mustermann\r\nHausverwaltung Nord" << true;
        QTest::newRow("town") << sampleTest(0) << "Ort" << "12345 Musterstadt" << true;
        QTest::newRow("filed: customer's meter") << sampleTest(0) << "ZaehlerNr" << "Z-77001"
                                                 << true;
        ProtocolTest newTest = sampleTest(0);
        newTest.newTest = true;
        QTest::newRow("new: test's meter") << newTest << "ZaehlerNr" << "Z-NEW-1" << true;
        QTest::newRow("instrument") << sampleTest(0) << "Messgeraet"
                                    << "Velmora Lumetra 4 Fab.-Nr. 063 01 04711" << true;
        QTest::newRow("date") << sampleTest(0) << "Pruefdatum" << "04.03.2009  9:05" << true;
        QTest::newRow("finding") << sampleTest(0) << "Befund" << "1" << true;

        ProtocolTest empty;
        empty.kind = 0;
        empty.date = QDateTime(QDate(2010, 1, 1), QTime(8, 0));
        QTest::newRow("not measured pressure") << empty << "Druck" << "" << true;
        QTest::newRow("no customer") << empty << "Kunde" << "" << true;
        QTest::newRow("no town") << empty << "Ort" << "" << true;
        QTest::newRow("no instrument") << empty << "Messgeraet" << "" << true;
        QTest::newRow("no finding") << empty << "Befund" << "" << true;
        ProtocolTest regulator = sampleTest(3);
        regulator.fliessdruck = QVariant();
        QTest::newRow("regulator null") << regulator << "Fliessdruck" << "" << true;
    }

    void namedValues()
    {
        QFETCH(ProtocolTest, test);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, defined);
        const QHash<QString, QString> names = ProtocolNameValues(test, german);
        QCOMPARE(names.contains(name), defined);
        QCOMPARE(names.value(name), value);
    }

    // Each kind on paper: its values in the text, its charts and logo in their rectangles.
    void protocolPdf_data()
    {
        QTest::addColumn<ProtocolTest>("test");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("0 G5952") << leakTest(23)
            << QStringList{"Gebrauchsfähigkeitsprüfung", "G5952", "25,4", "< 2,0", "23,0", "0,8",
                           "bedingt gebrauchsfähig (bOK)", "Erika Mustermann", "Z-77001"};
        QTest::newRow("0 VP952") << leakTest(22) << QStringList{"VP952", "22,0", "0,8"};
        QTest::newRow("0 plain") << sampleTest(0) << QStringList{"Leckmenge", "1,3", "25,0"};
        QTest::newRow("1") << sampleTest(1)
            << QStringList{"Belastungsprüfung", "1012", "1010", "bedingt bestanden (bOK)"};
        QTest::newRow("2") << sampleTest(2) << QStringList{"Dichtheitsprüfung", "25,4", "25,0"};
        QTest::newRow("3") << sampleTest(3)
            << QStringList{"Druckregelgeräts", "21,8", "---", "48,2", "fehlt"};
    }

    void protocolPdf()
    {
        QFETCH(ProtocolTest, test);
        QFETCH(QStringList, texts);
        if (!havePdfText() || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        ProtocolBuilder builder(templates, 1, writeLogo(dir), german);
        const std::unique_ptr<FilledTemplate> protocol = builder.build(test);
        QVERIFY(protocol);
        const QString pdf = dir.filePath(QStringLiteral("protocol.pdf"));
        QVERIFY(DocumentPrinter::writePdf(*protocol, pdf));

        const QString text = pdfText(pdf);
        const QStringList common{"Max Prüfer", "Stadtwerke Musterstadt", "Lindenstraße 12",
                                 "12345 Musterstadt", "K-4711", "04.03.2009 9:05",
                                 "063 01 04711", "Hauptabsperreinrichtung erneuert"};
        for (const QString &expected : common + texts)
            QVERIFY2(text.simplified().contains(expected), qPrintable(expected));

        const int dpi = 50;
        const QImage page = pdfPage(pdf, dpi);
        QVERIFY(!page.isNull());
        const ProtocolTemplateChoice choice =
            ChooseProtocolTemplate(test.kind, test.date, test.leitungsVol, test.refDruck);
        QVERIFY(inkShare(page, *protocol, *choice.logo, dpi) > 0.2);
        if (choice.pressureChart)
            QVERIFY(inkShare(page, *protocol, *choice.pressureChart, dpi) > 0.01);
        if (choice.flowChart)
            QVERIFY(inkShare(page, *protocol, *choice.flowChart, dpi) > 0.01);
    }

    void logoKeepsItsAspect()
    {
        const QRectF fitted = LogoPicture::fitted(QRectF(0, 0, 400, 300), QSizeF(300, 100));
        QCOMPARE(fitted, QRectF(0, 83.333333333333343, 400, 133.33333333333331));
    }

    void copiesPrintEachPageOnce()
    {
        if (!havePdfText())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        ProtocolBuilder builder(templates, 1, QString(), german);
        QList<ProtocolTest> tests{sampleTest(0), sampleTest(1), sampleTest(3)};
        tests[0].kundenNr = QStringLiteral("FIRST");
        tests[1].kundenNr = QStringLiteral("SECOND");
        tests[2].kundenNr = QStringLiteral("THIRD");
        const ProtocolBatch batch(builder, tests, 2);
        QCOMPARE(batch.pageCount(), 6);
        const QString pdf = dir.filePath(QStringLiteral("batch.pdf"));
        QVERIFY(DocumentPrinter::writePdf(batch, pdf));
        const QStringList order{"FIRST", "FIRST", "SECOND", "SECOND", "THIRD", "THIRD"};
        for (int page = 1; page <= 6; ++page)
            QVERIFY2(pdfText(pdf, page).contains(order.at(page - 1)), qPrintable(order.at(page - 1)));
        QVERIFY(pdfText(pdf, 7).trimmed().isEmpty());
    }

    // Every language with templates, every kind and rule set: the language's own template,
    // its fixed texts on paper.
    void localisedProtocolPdf_data()
    {
        QTest::addColumn<int>("languageNo");
        QTest::addColumn<ProtocolTest>("test");
        QTest::addColumn<QStringList>("texts");

        const QDateTime oldRulesDate(QDate(2007, 11, 20), QTime(14, 30));
        for (const LanguageTexts &language : languageTexts) {
            const auto addRow = [&language](const char *variant, int kind,
                                            const ProtocolTest &test, const QString &rules) {
                const QStringList texts{QString::fromUtf8(language.title),
                                        QString::fromUtf8(language.kinds[kind]),
                                        QString::fromUtf8(language.conditionalFindings[kind]),
                                        rules};
                QTest::addRow("%s kind %d %s", language.code, kind, variant)
                    << language.languageNo << test << texts;
            };
            const QString rules = QString::fromUtf8(language.rules);
            for (int kind = 0; kind < 4; ++kind) {
                ProtocolTest oldTest = sampleTest(kind);
                oldTest.date = oldRulesDate;
                addRow("old rules", kind, oldTest, rules + QStringLiteral("1986/1996"));
                addRow("current rules", kind, sampleTest(kind), rules + QStringLiteral("2008"));
            }
            const QString leakMethod = QString::fromUtf8(language.leakMethod);
            addRow("G5952", 0, leakTest(23), leakMethod.arg(QStringLiteral("G5952")));
            addRow("VP952", 0, leakTest(22), leakMethod.arg(QStringLiteral("VP952")));
        }
    }

    void localisedProtocolPdf()
    {
        QFETCH(int, languageNo);
        QFETCH(ProtocolTest, test);
        QFETCH(QStringList, texts);
        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList notices;
        ProtocolBuilder builder(templates, languageNo, QString(), german);
        builder.setNotice([&notices](const QString &message) { notices << message; });
        const ProtocolTemplateChoice choice =
            ChooseProtocolTemplate(test.kind, test.date, test.leitungsVol, test.refDruck);
        QCOMPARE(QFileInfo(builder.templatePath(choice)).fileName(), choice.fileName(languageNo));
        const std::unique_ptr<FilledTemplate> protocol = builder.build(test);
        QVERIFY(protocol);
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join(u'\n')));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("protocol.pdf"));
        QVERIFY(DocumentPrinter::writePdf(*protocol, pdf));
        const QString text = pdfText(pdf).simplified();
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected));
    }

    void languageWithoutTemplatesFallsBackOnce()
    {
        QStringList notices;
        ProtocolBuilder builder(templates, 3, QString(), german);
        builder.setNotice([&notices](const QString &message) { notices << message; });
        QVERIFY(builder.build(sampleTest(0)));
        QVERIFY(builder.build(sampleTest(2)));
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices.first().contains(QStringLiteral("Leckmengen3.vts")));
        QVERIFY(notices.first().contains(QStringLiteral("Leckmengen2.vts")));
    }

    void faultyTemplates_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << QByteArray() << "Leckmengen1.vts fehlt";
        QTest::newRow("bad XML") << QByteArray("<workbook-template version=\"1\">\n<cell>\n")
                                 << "Leckmengen1.vts:";
        QTest::newRow("unknown placeholder")
            << QByteArray("<workbook-template version=\"1\">\n<column width=\"14\" count=\"13\"/>"
                          "\n<row height=\"5\" count=\"52\"/>\n"
                          "<cell row=\"1\" col=\"1\">{Kundenname}</cell>\n</workbook-template>\n")
            << "Leckmengen1.vts:4:";
        QTest::newRow("chart outside the grid")
            << QByteArray("<workbook-template version=\"1\">\n<column width=\"14\" count=\"13\"/>"
                          "\n<row height=\"5\" count=\"30\"/>\n</workbook-template>\n")
            << "pressureChart (1, 32, 8, 43)";
    }

    void faultyTemplates()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        if (!content.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("Leckmengen1.vts")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        ProtocolBuilder builder(dir.path(), 1, QString(), german);
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        try {
            const ProtocolBatch batch(builder, {sampleTest(0), sampleTest(0)});
            QFAIL("a faulty template must stop the run");
        } catch (const RuntimeErrorException &e) {
            QVERIFY2(e.error().description.contains(expected), qPrintable(e.error().description));
        }
        QVERIFY(!QFile::exists(pdf));
    }

    void logoProblemsLeaveTheRectangleEmpty_data()
    {
        QTest::addColumn<QByteArray>("logo"); // empty: no file
        QTest::addColumn<int>("notices");
        QTest::newRow("missing logo") << QByteArray() << 0;
        QTest::newRow("unreadable logo") << QByteArray("not a picture") << 1;
    }

    void logoProblemsLeaveTheRectangleEmpty()
    {
        QFETCH(QByteArray, logo);
        QFETCH(int, notices);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Firma.png"));
        if (!logo.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(logo);
        }
        QStringList told;
        ProtocolBuilder builder(templates, 1, logo.isEmpty() ? QString() : path, german);
        builder.setNotice([&told](const QString &message) { told << message; });
        QVERIFY(builder.build(sampleTest(1)));
        QVERIFY(builder.build(sampleTest(2)));
        QCOMPARE(told.size(), notices);
        if (notices)
            QVERIFY(told.first().contains(path));
    }
};

QTEST_MAIN(ProtocolBuildTest)
#include "ProtocolBuildTest.moc"
