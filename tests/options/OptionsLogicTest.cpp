#include "OptionsFixture.h"
#include "ScriptedQuestions.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/FileLocations.h"
#include "data/IniFile.h"
#include "data/ProgramDatabase.h"
#include "data/StringTable.h"
#include "options/CompanyLogo.h"
#include "options/OptionsApplier.h"
#include "options/OptionsChoices.h"
#include "options/PortList.h"
#include "options/TimeOutText.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writePicture(const QString &file, const char *format)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.save(file, format);
    return file;
}

QString writeText(const QString &file, const QByteArray &content)
{
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(content);
    return file;
}

const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"20\">"
                       "<rect width=\"40\" height=\"20\" fill=\"red\"/></svg>";

} // namespace

class OptionsLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { LoadColumnCaptions(); }

    void timeOut_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("in range") << "2500" << 2500;
        QTest::newRow("too short") << "200" << 500;
        QTest::newRow("too long") << "45000" << 30000;
        QTest::newRow("beyond 16 bits") << "99999999" << 30000;
        QTest::newRow("negative") << "-5" << 500;
        QTest::newRow("not a number") << "abc" << 3000;
        QTest::newRow("empty") << "" << 3000;
        QTest::newRow("blanks around") << " 1200 " << 1200;
        QTest::newRow("decimal") << "1000.6" << 1001;
        QTest::newRow("limits") << "500" << 500;
    }
    void timeOut()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(TimeOutText::parse(text)), value);
    }

    void portList()
    {
        qputenv("VLM_BUS_COM3", "/dev/ttyUSB7");
        const QList<PortList::Port> ports = PortList::fromMask(0x05);
        qunsetenv("VLM_BUS_COM3");
        QCOMPARE(ports.size(), 2);
        QCOMPARE(ports[0].number, qint16(1));
        QCOMPARE(ports[0].text.left(5), QStringLiteral("COM1 "));
        QCOMPARE(ports[1].number, qint16(3));
        QCOMPARE(ports[1].text, QStringLiteral("COM3 (/dev/ttyUSB7)"));
        QVERIFY(PortList::fromMask(0).isEmpty());
        QCOMPARE(PortList::fromMask(0xFF).size(), 8);
    }

    void logo_data()
    {
        QTest::addColumn<QString>("format"); // what the chosen file holds
        QTest::addColumn<QString>("suffix"); // the logo file it becomes; empty: refused
        QTest::newRow("png") << "png" << "png";
        QTest::newRow("jpeg") << "jpeg" << "jpg";
        QTest::newRow("svg") << "svg" << "svg";
        QTest::newRow("text named .png") << "text" << "";
    }
    void logo()
    {
        QFETCH(QString, format);
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("logos"));
        QDir().mkpath(folder);
        // An earlier logo of another format is replaced, never left to win over the new one.
        writePicture(folder + QStringLiteral("/Firma.png"), "PNG");
        writeText(folder + QStringLiteral("/Firma.svg"), svg);
        const QString chosen = dir.filePath(QStringLiteral("chosen.png"));
        if (format == QLatin1String("svg"))
            writeText(chosen, svg);
        else if (format == QLatin1String("text"))
            writeText(chosen, "not a picture");
        else
            writePicture(chosen, format.toLatin1().constData());

        CompanyLogo logo(folder);
        const QString before = logo.current();
        if (suffix.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(RuntimeErrorException, logo.stage(chosen));
            QVERIFY(logo.staged().isEmpty());
            QCOMPARE(logo.current(), before);
            return;
        }
        logo.stage(chosen);
        QCOMPARE(logo.staged(), folder + QStringLiteral("/tmpFirma.") + suffix);
        QCOMPARE(logo.current(), before); // nothing changes before the options are applied
        logo.install();
        QCOMPARE(logo.current(), folder + QStringLiteral("/Firma.") + suffix);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Firma." + suffix});
        QCOMPARE(FileLocations(dir.path()).logoFile(), logo.current());
        logo.remove();
        QVERIFY(logo.current().isEmpty());
    }

    void apply_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("written");
        QTest::newRow("slow graphics") << "slow" << "frmMain" << "GrafikmodusSchnell" << "0";
        QTest::newRow("delete after sync") << "delete" << "frmMain" << "DeleteSyncedPruef"
                                           << "-1";
        QTest::newRow("fixed port") << "port3" << "frmMain" << "AutoCommPort" << "0";
        QTest::newRow("fixed port number") << "port3" << "frmMain" << "CommPort" << "3";
        QTest::newRow("vanished port kept") << "port2" << "frmMain" << "CommPort" << "1";
        QTest::newRow("time-out 200") << "timeout200" << "frmMain" << "TimeOut" << "500";
        QTest::newRow("time-out 45000") << "timeout45000" << "frmMain" << "TimeOut" << "30000";
        QTest::newRow("time-out abc") << "timeoutabc" << "frmMain" << "TimeOut" << "3000";
        QTest::newRow("infrared folder") << "infrared" << "frmMain" << "InfrarotPath" << "<ir>";
        QTest::newRow("missing infrared folder kept") << "infraredMissing" << "frmMain"
                                                      << "InfrarotPath" << "/";
        QTest::newRow("archive in database folder") << "archive" << "Pfade" << "Archiv"
                                                     << "<db>";
        QTest::newRow("archive box cleared") << "noArchive" << "Pfade" << "Archiv" << "";
    }
    void apply()
    {
        QFETCH(QString, change);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, written);
        QTemporaryDir home;
        FileLocations locations(home.path());
        locations.archiveFolder = home.path();
        OptionsFixture::createDatabase(locations.dbFile, QStringLiteral("old"));
        IniFile ini(locations.iniFile());
        ini.write(QStringLiteral("Pfade"), QStringLiteral("Archiv"), home.path());
        DatabaseSession session;
        openProgramDatabase(session, locations.dbFile);
        ScriptedQuestions questions;
        CompanyLogo logo(locations.logoFolder());
        OptionsApplier applier(session, locations, ini, logo, questions,
                               [] { return std::optional<quint8>(0x05); });

        Settings settings;
        settings.autoCommPort = false;
        settings.commPort = 1;
        OptionsChoices choices = OptionsChoices::from(settings, locations);
        const QString irFolder = home.filePath(QStringLiteral("ir"));
        QDir().mkpath(irFolder);
        if (change == QLatin1String("slow"))
            choices.grafikSchnell = false;
        if (change == QLatin1String("delete"))
            choices.pruefLoeschen = true;
        if (change.startsWith(QLatin1String("port")))
            choices.portNr = change.right(1).toShort();
        if (change.startsWith(QLatin1String("timeout")))
            choices.timeOutText = change.mid(7);
        if (change == QLatin1String("infrared"))
            choices.infrarotPath = irFolder;
        if (change == QLatin1String("infraredMissing"))
            choices.infrarotPath = home.filePath(QStringLiteral("nowhere"));
        if (change == QLatin1String("noArchive"))
            choices.archiveInDbFolder = false;
        const Settings before = settings;

        QCOMPARE(int(applier.apply(choices, settings)),
                 int(DatabasePathChange::Outcome::NotChanged));
        written.replace(QStringLiteral("<ir>"), irFolder).replace(QStringLiteral("<db>"),
                                                                  locations.dbFolder);
        QCOMPARE(ini.read(section, key, QStringLiteral("<missing>")), written);
        // Every key of the settings is written, and reads back as what the program now uses.
        const Settings reread = Settings::load(ini);
        QCOMPARE(reread.grafikmodusSchnell, settings.grafikmodusSchnell);
        QCOMPARE(reread.deleteSyncedPruef, settings.deleteSyncedPruef);
        QCOMPARE(reread.autoCommPort, settings.autoCommPort);
        QCOMPARE(reread.commPort, settings.commPort);
        QCOMPARE(reread.timeOut, settings.timeOut);
        QCOMPARE(reread.infrarotPath, settings.infrarotPath);
        QCOMPARE(choices.timeOutText, QString::number(settings.timeOut));
        const bool refused = change == QLatin1String("port2")
                             || change == QLatin1String("infraredMissing");
        QCOMPARE(questions.informed.size(), refused ? 1 : 0);
        if (change == QLatin1String("port2")) {
            QCOMPARE(questions.informed.first(), resString(25640).arg(2));
            QCOMPARE(settings.commPort, before.commPort);
            QCOMPARE(choices.portNr, before.commPort);
        }
        QCOMPARE(locations.archiveFolder,
                 change == QLatin1String("noArchive") ? QString() : locations.dbFolder);
        if (change == QLatin1String("archive"))
            QVERIFY(QFileInfo(home.filePath(QStringLiteral("Archiv"))).isDir());
        QVERIFY(questions.failures.isEmpty());
        QVERIFY(questions.asked.isEmpty());
    }

    void databaseChangeNeedsOtherWindowsClosed()
    {
        QTemporaryDir home;
        FileLocations locations(home.path());
        OptionsFixture::createDatabase(locations.dbFile, QStringLiteral("old"));
        const QString elsewhere = home.filePath(QStringLiteral("elsewhere"));
        QDir().mkpath(elsewhere);
        IniFile ini(locations.iniFile());
        DatabaseSession session;
        openProgramDatabase(session, locations.dbFile);
        ScriptedQuestions questions;
        questions.mayChangeDatabase = false;
        questions.answers = {true};
        CompanyLogo logo(locations.logoFolder());
        OptionsApplier applier(session, locations, ini, logo, questions, {});
        Settings settings;
        OptionsChoices choices = OptionsChoices::from(settings, locations);
        choices.dbFolderText = elsewhere;
        applier.apply(choices, settings);
        QVERIFY(questions.asked.isEmpty());
        QCOMPARE(choices.dbFolderText, home.path());
        QVERIFY(!QFile::exists(elsewhere + QStringLiteral("/Lumetra4Desktop.db")));
    }
};

QTEST_GUILESS_MAIN(OptionsLogicTest)
#include "OptionsLogicTest.moc"
