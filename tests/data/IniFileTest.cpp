#include "data/FileLocations.h"
#include "data/FormPosition.h"
#include "data/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class IniFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Lumetra4Desktop.ini")); }
    void writeFile(const QByteArray &content)
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QByteArray fileContent() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void cleanup() { QFile::remove(path()); }

    void read_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray ini = "[Pfade]\nDatenbank = /srv/l4 \n[frmMain]\nTimeOut=5000\n"
                               "junk line without equals\n; TimeOut=1\nQuoted=\"a b\"\n";
        QTest::newRow("plain") << ini << "Pfade" << "Datenbank" << "/srv/l4";
        QTest::newRow("section and key ignore case") << ini << "FRMMAIN" << "timeout" << "5000";
        QTest::newRow("missing key") << ini << "frmMain" << "CommPort" << "default";
        QTest::newRow("missing section") << ini << "Nowhere" << "TimeOut" << "default";
        QTest::newRow("quotes stripped") << ini << "frmMain" << "Quoted" << "a b";
        QTest::newRow("no file") << QByteArray() << "Pfade" << "Datenbank" << "default";
        QTest::newRow("CRLF file") << QByteArray("[A]\r\nk=v\r\n") << "a" << "K" << "v";
        QTest::newRow("first of duplicate keys") << QByteArray("[A]\nk=1\nk=2\n") << "A" << "k" << "1";
    }
    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        if (!content.isEmpty())
            writeFile(content);
        IniFile ini(path());
        QCOMPARE(ini.read(section, key, QStringLiteral("default")), expected);
        QVERIFY(ini.lastError().isEmpty());
    }

    void valuesAreCutAt511Characters()
    {
        IniFile ini(path());
        QVERIFY(ini.write(QStringLiteral("S"), QStringLiteral("Long"), QString(600, u'x')));
        QCOMPARE(ini.read(QStringLiteral("S"), QStringLiteral("Long"), {}).size(), 511);
        QCOMPARE(ini.read(QStringLiteral("S"), QStringLiteral("No"), QString(600, u'y')).size(), 511);
    }

    void writeKeepsOtherLines()
    {
        writeFile("; written by hand\n[Pfade]\nDatenbank=/a\n\n[frmMain]\nstrange line\n"
                  "TimeOut=1000\n");
        IniFile ini(path());
        QVERIFY(ini.write(QStringLiteral("frmmain"), QStringLiteral("TIMEOUT"), QStringLiteral("2000")));
        QVERIFY(ini.write(QStringLiteral("Pfade"), QStringLiteral("Archiv"), QStringLiteral("/b")));
        QVERIFY(ini.write(QStringLiteral("frmVorschau"), QStringLiteral("Viewscale"), QStringLiteral("80")));
        QCOMPARE(fileContent(),
                 QByteArray("; written by hand\n[Pfade]\nDatenbank=/a\nArchiv=/b\n\n[frmMain]\n"
                            "strange line\nTimeOut=2000\n[frmVorschau]\nViewscale=80\n"));
    }

    void writeCreatesTheFileAndKeepsValuesOnOneLine()
    {
        IniFile ini(path());
        QVERIFY(ini.write(QString(), QStringLiteral("State"), QStringLiteral("0")));
        QVERIFY(ini.write(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("two\nlines")));
        QCOMPARE(fileContent(), QByteArray("[]\nState=0\n[S]\nk=two lines\n"));
        QCOMPARE(ini.read(QString(), QStringLiteral("State"), {}), QStringLiteral("0"));
    }

    void unreadableFileIsNeverOverwritten()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        writeFile("[Pfade]\nDatenbank=/keep\n");
        QFile::setPermissions(path(), QFileDevice::WriteOwner);
        IniFile ini(path());
        QCOMPARE(ini.read(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QVERIFY(!ini.lastError().isEmpty());
        QVERIFY(!ini.write(QStringLiteral("Pfade"), QStringLiteral("Archiv"), QStringLiteral("x")));
        QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(fileContent(), QByteArray("[Pfade]\nDatenbank=/keep\n"));
    }

    void unwritableFolderReportsAndKeepsTheFile()
    {
        IniFile ini(QStringLiteral("/nonexistent-folder/x.ini"));
        QVERIFY(!ini.write(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")));
        QVERIFY(!ini.lastError().isEmpty());
    }

    void formPosition()
    {
        IniFile ini(path());
        const QString tag = QStringLiteral("frmStatistik");
        FormPlacement normal{FormPlacement::Normal, 100, 200, 7450, 10100};
        QVERIFY(SaveFormPosition(ini, tag, normal));

        // Maximised: only the state; the normal geometry of the earlier run stays.
        QVERIFY(SaveFormPosition(ini, tag, {FormPlacement::Maximised, 1, 2, 3, 4}));
        FormPlacement restored = RestoreFormPosition(ini, tag, 1, 1, 0);
        QCOMPARE(restored.state, qint16(2));
        QCOMPARE(restored.left, qint16(100));
        QCOMPARE(restored.width, qint16(10100));

        // Minimised: nothing is written.
        const QByteArray before = fileContent();
        QVERIFY(SaveFormPosition(ini, tag, {FormPlacement::Minimised, 9, 9, 9, 9}));
        QCOMPARE(fileContent(), before);
    }

    void formPositionDefaultsForMissingOrBadValues()
    {
        writeFile("[frmMain]\nLeft=abc\nTop=99999\nWidth=12000\n");
        const FormPlacement p = RestoreFormPosition(IniFile(path()), QStringLiteral("FRMMAIN"),
                                                    7450, 10000, 2);
        QCOMPARE(p.state, qint16(2));
        QCOMPARE(p.left, qint16(0));
        QCOMPARE(p.top, qint16(0));
        QCOMPARE(p.height, qint16(7450));
        QCOMPARE(p.width, qint16(12000));
        QCOMPARE(twipsToPixels(1440, 96), 96);
        QCOMPARE(pixelsToTwips(96, 96), 1440);
    }

    void fileLocationsFromPaths()
    {
        FileLocations locations(dir.path());
        locations.readPaths(IniFile(path())); // no file: defaults
        QCOMPARE(locations.dbFolder, dir.path());
        QCOMPARE(locations.dbFile, dir.filePath(QStringLiteral("Lumetra4Desktop.db")));
        QVERIFY(locations.archiveFolder.isEmpty());
        QCOMPARE(locations.exportFolder, dir.path());

        writeFile("[PFADE]\ndatenbank=/srv/db\nArchiv=/srv/archiv\n");
        locations.readPaths(IniFile(path()));
        QCOMPARE(locations.dbFile, QStringLiteral("/srv/db/Lumetra4Desktop.db"));
        QCOMPARE(locations.archiveFolder, QStringLiteral("/srv/archiv"));
    }

    void userGuideFallsBackToEnglish()
    {
        QVERIFY(FileLocations::helpFile(1).endsWith(QLatin1String("/1/Lumetra4Desktop.pdf")));
        QVERIFY(QFileInfo::exists(FileLocations::helpFile(1)));
        QVERIFY(FileLocations::helpFile(5).endsWith(QLatin1String("/5/Lumetra4Desktop.pdf")));
        // Language number 3 belongs to no language and so has no guide.
        QVERIFY(FileLocations::helpFile(3).endsWith(QLatin1String("/2/Lumetra4Desktop.pdf")));
    }

    void logoNameIgnoresCase()
    {
        FileLocations locations(dir.path());
        QVERIFY(locations.logoFile().isEmpty());
        QDir().mkpath(locations.logoFolder());
        QFile logo(locations.logoFolder() + QStringLiteral("/FIRMA.PNG"));
        QVERIFY(logo.open(QIODevice::WriteOnly));
        logo.close();
        QCOMPARE(locations.logoFile(), locations.logoFolder() + QStringLiteral("/FIRMA.PNG"));
        QFile::remove(logo.fileName());
    }

    void homeFolderFromEnvironment()
    {
        qputenv("LUMETRA4_HOME", dir.path().toUtf8());
        QCOMPARE(FileLocations::resolveHomeFolder(QStringLiteral("/usr/bin")), dir.path());
        qunsetenv("LUMETRA4_HOME");
        // A writable folder beside the program with an INI file means portable use.
        writeFile("");
        QCOMPARE(FileLocations::resolveHomeFolder(dir.path()), dir.path());
        QVERIFY(FileLocations::resolveHomeFolder(QStringLiteral("/usr/bin"))
                    .endsWith(QStringLiteral("/.local/share/Lumetra4Desktop")));
    }
};

QTEST_GUILESS_MAIN(IniFileTest)
#include "IniFileTest.moc"
