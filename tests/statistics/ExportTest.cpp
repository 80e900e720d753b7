#include "data/CodePage.h"
#include "data/ColumnCaptions.h"
#include "data/StringTable.h"
#include "statistics/ExportCriteria.h"
#include "statistics/ExportFile.h"
#include "statistics/ExportGrid.h"
#include "statistics/ListExport.h"
#include "statistics/ProtocolExport.h"
#include "statistics/StatisticsGridModel.h"

#include <QDir>
#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <numeric>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// One test as the statistics grid holds it; null values stay null.
struct Row
{
    QString kundenNr, name1, strasse, plz, ort;
    int pruefart = 0;
    QVariant unusedDate; // every test reads 02.06.2008 09:30, see Grid
    QVariant druck, endDruck, fluss, dauer, leitungsVol, messzeit, leckrate;
    QString druckkurve, flusskurve;
    QVariant fliessdruck, ruhedruck, savDruck, nullabschluss, gmSicherung;
    QString bemerkung;
};

} // namespace

Q_DECLARE_METATYPE(Row)

namespace {

// The grid's columns: the customer, kind, date, end pressure, flow and remark are shown.
QStringList fieldCaptions()
{
    const ColumnCaptions &c = columnCaptions();
    return {c.capKundenNr, c.capName1, c.capName2, c.capStrasse, c.capPLZ, c.capOrt,
            c.capPruefart, c.capDatum, c.capDruck, c.capEndDruck, c.capFluss, c.capDauer,
            c.capLeitungsVol, c.capMesszeit, c.capLeckrate, c.capDruckkurve, c.capFlusskurve,
            c.capFliessdruck, c.capRuhedruck, c.capSAVDruck, c.capBefundNullabschluss,
            c.capBefundGMSicherung, c.capBemerkung};
}
const QList<bool> shown = {true, true, false, false, false, false, true, true, false, true,
                           true, false, false, false, false, false, false, false, false, false,
                           false, false, true};

const Row filedLoadTest203{"K-100", QStringLiteral("Müller"), QStringLiteral("Hauptstraße 1"),
                           "80331", QStringLiteral("München"), 0, {}, 25.0, 50.0, 5.0, 120,
                           2.0, 10, 2.31, "250:210:2:210:250:", "60:50:3:50:55:60:", {}, {}, {},
                           {}, {}, "dicht; geprüft"};
const Row newPreliminary204{{}, {}, {}, {}, {}, 1, {}, 110.0, 109.5, {}, 600, {}, {}, {},
                            "1100:1095:3:1100:1098:1095:", {}, {}, {}, {}, {}, {}, {}};
const Row filedMainTest205{"K-7", "Schmidt", "Ring 3", "10115", "Berlin", 2, {}, 110.0, 110.0,
                           {}, 900, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
const Row filedRegulator206{"K-7", "Schmidt", "Ring 3", "10115", "Berlin", 3, {}, {}, {}, {},
                            60, {}, {}, {}, {}, {}, 23.0, 30.0, -99999.0, 0, 3, {}};

const QDateTime testDate(QDate(2008, 6, 2), QTime(9, 30));

class Grid
{
public:
    Grid(const QList<Row> &rows, bool newTests)
    {
        model.setHorizontalHeaderLabels(fieldCaptions());
        for (const Row &r : rows) {
            QList<QStandardItem *> items;
            for (const QVariant &v : QVariantList{
                     r.kundenNr, r.name1, QString(), r.strasse, r.plz, r.ort, r.pruefart,
                     testDate, r.druck, r.endDruck, r.fluss, r.dauer, r.leitungsVol, r.messzeit,
                     r.leckrate, r.druckkurve, r.flusskurve, r.fliessdruck, r.ruhedruck,
                     r.savDruck, r.nullabschluss, r.gmSicherung, r.bemerkung}) {
                auto *item = new QStandardItem;
                item->setData(v, Qt::DisplayRole);
                items << item;
            }
            model.appendRow(items);
        }
        proxy.setSourceModel(&model);
        proxy.setNewTests(newTests);
    }

    ExportGrid exportGrid(const QLocale &locale) const
    {
        QList<int> order(fieldCaptions().size());
        std::iota(order.begin(), order.end(), 0);
        return ExportGrid(proxy, order, shown, locale);
    }

    QStandardItemModel model;
    StatisticsGridModel proxy;
};

ExportCriteria criteriaFor(bool newTests, const QString &kind = {})
{
    ExportCriteria criteria;
    criteria.dataBase = resString(newTests ? 25039 : 25038);
    criteria.customerShown = !newTests;
    criteria.testKind = kind;
    return criteria;
}

QByteArray expected(const QString &name)
{
    QFile file(QStringLiteral(LUMETRA4_SOURCE_DIR "/tests/data/export/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing expected file %s", qPrintable(name));
    return file.readAll();
}

void setLanguage(const QString &language)
{
    StringTable::setLanguage(language);
    LoadColumnCaptions();
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT
private slots:
    void protocolFile_data();
    void protocolFile();
    void listFile_data();
    void listFile();
    void existingNameIsRefused();
    void failedWriteLeavesNoFile_data();
    void failedWriteLeavesNoFile();
    void codePages_data();
    void codePages();
};

void ExportTest::protocolFile_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<Row>("row");
    QTest::addColumn<bool>("newTests");
    QTest::addColumn<int>("chosenKind"); // -1 none
    QTest::addColumn<QVariant>("refDruck");
    QTest::addColumn<QString>("file");
    QTest::newRow("filed 203 with curves, no kind chosen")
        << "de" << filedLoadTest203 << false << -1 << QVariant(23.0) << "protocol_203_de.csv";
    QTest::newRow("filed 203, kind 203 chosen, reference 22.5")
        << "de" << filedLoadTest203 << false << 0 << QVariant(22.5)
        << "protocol_203_chosen_de.csv";
    QTest::newRow("new 204 without customer, English")
        << "en" << newPreliminary204 << true << -1 << QVariant() << "protocol_204_en.csv";
    QTest::newRow("filed 205 without curve, kind 205 chosen")
        << "de" << filedMainTest205 << false << 2 << QVariant() << "protocol_205_de.csv";
    QTest::newRow("filed 206") << "de" << filedRegulator206 << false << -1 << QVariant()
                               << "protocol_206_de.csv";
}

void ExportTest::protocolFile()
{
    QFETCH(QString, language);
    QFETCH(Row, row);
    QFETCH(bool, newTests);
    QFETCH(int, chosenKind);
    QFETCH(QVariant, refDruck);
    QFETCH(QString, file);
    setLanguage(language);
    const QLocale locale(language == QLatin1String("de") ? QLocale::German : QLocale::English,
                         language == QLatin1String("de") ? QLocale::Germany
                                                         : QLocale::UnitedKingdom);
    const Grid grid({row}, newTests);
    ExportCriteria criteria =
        criteriaFor(newTests, chosenKind < 0 ? QString() : resString(203 + chosenKind));
    if (newTests) {
        criteria.inspector = QStringLiteral("Meier");
        criteria.fabNr = QStringLiteral("063 01 00042");
    }
    const QStringList lines =
        ProtocolExportLines(criteria, grid.exportGrid(locale), 0, refDruck);
    const QByteArray bytes = ExportFile::bytes(lines, CodePage::Id::Windows1252);
    QCOMPARE(bytes, expected(file));
}

void ExportTest::listFile_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QList<Row>>("rows");
    QTest::addColumn<bool>("newTests");
    QTest::addColumn<int>("chosenKind");
    QTest::addColumn<QString>("file");
    QTest::newRow("filed, German, kind 203 chosen")
        << "de" << QList<Row>{filedLoadTest203, filedMainTest205} << false << 0
        << "list_filed_de.csv";
    QTest::newRow("new, English, no criterion")
        << "en" << QList<Row>{newPreliminary204} << true << -1 << "list_new_en.csv";
    QTest::newRow("filed, kind 205 chosen, no tests")
        << "de" << QList<Row>{} << false << 2 << "list_empty_205_de.csv";
}

void ExportTest::listFile()
{
    QFETCH(QString, language);
    QFETCH(QList<Row>, rows);
    QFETCH(bool, newTests);
    QFETCH(int, chosenKind);
    QFETCH(QString, file);
    setLanguage(language);
    const QLocale locale(language == QLatin1String("de") ? QLocale::German : QLocale::English,
                         language == QLatin1String("de") ? QLocale::Germany
                                                         : QLocale::UnitedKingdom);
    const Grid grid(rows, newTests);
    ExportCriteria criteria =
        criteriaFor(newTests, chosenKind < 0 ? QString() : resString(203 + chosenKind));
    if (chosenKind == 0) {
        criteria.dateFrom = QStringLiteral("01.01.2008");
        criteria.flowMin = QStringLiteral("1,5");
    }
    const QByteArray bytes = ExportFile::bytes(ListExportLines(criteria, grid.exportGrid(locale)),
                                               CodePage::Id::Windows1252);
    QCOMPARE(bytes, expected(file));
}

void ExportTest::existingNameIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Daten-Export.csv"));
    QFile existing(path);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    QString failure;
    QCOMPARE(ExportFile::write(path, "new\r\n", &failure), ExportFile::Result::Exists);
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    const QString fresh = dir.filePath(QStringLiteral("neu.csv"));
    QCOMPARE(ExportFile::write(fresh, "a;\r\n", &failure), ExportFile::Result::Written);
    QFile written(fresh);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("a;\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void ExportTest::failedWriteLeavesNoFile_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("folder not writable") << true;
    QTest::newRow("disk full") << false;
}

// A full disk is simulated with a file size limit: writes past it fail with EFBIG.
void ExportTest::failedWriteLeavesNoFile()
{
    QFETCH(bool, readOnlyFolder);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("export.csv"));
    // Root writes into read-only folders; a folder that does not exist refuses it too.
    if (readOnlyFolder && ::geteuid() == 0)
        path = dir.filePath(QStringLiteral("missing/export.csv"));
    const QByteArray content(200000, 'x');
    QString failure;
    ExportFile::Result result;
    if (readOnlyFolder) {
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
        result = ExportFile::write(path, content, &failure);
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    } else {
        rlimit old{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old;
        limited.rlim_cur = 65536;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &limited) == 0);
        result = ExportFile::write(path, content, &failure);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    QCOMPARE(result, ExportFile::Result::Failed);
    QVERIFY(!failure.isEmpty());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void ExportTest::codePages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("German in 1252") << "de" << QStringLiteral("Prüfung Straße €")
                                    << QByteArray("Pr\xfc" "fung Stra\xdf" "e \x80");
    QTest::newRow("Polish in 1250") << "pl" << QStringLiteral("Łódź źródło ąę")
                                    << QByteArray("\xa3\xf3" "d\x9f \x9f" "r\xf3" "d\xb3o \xb9\xea");
    QTest::newRow("Czech in 1250") << "cs" << QStringLiteral("Příliš žluťoučký")
                                   << QByteArray("P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd");
    QTest::newRow("character the page lacks") << "en_GB" << QStringLiteral("a→b")
                                              << QByteArray("a?b");
}

void ExportTest::codePages()
{
    QFETCH(QString, language);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const CodePage::Id page = CodePage::forLanguage(language);
    QCOMPARE(ExportFile::bytes({text}, page), bytes + "\r\n");
    QCOMPARE(CodePage::decode(bytes, page), text.replace(QChar(0x2192), u'?'));
}

QTEST_GUILESS_MAIN(ExportTest)
#include "ExportTest.moc"
