#include "support/CapturingPresenter.h"

#include "data/Database.h"
#include "data/Schema.h"
#include "sync/InfraredFolder.h"
#include "sync/InfraredImport.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString fixtures = QStringLiteral(INFRARED_FIXTURES);
const QStringList demoTests = {"LU4_0001.TXT", "lu4_0002.txt", "LU4_0003.txt", "Lu4_0004.Txt"};

int count(Database &db)
{
    QSqlQuery query = db.select(QStringLiteral("SELECT count(*) FROM Pruefungen"));
    query.next();
    return query.value(0).toInt();
}

QStringList filesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

} // namespace

class InfraredImportTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_work = std::make_unique<QTemporaryDir>();
        QVERIFY(m_work->isValid());
        m_path = m_work->filePath(QStringLiteral("Lumetra4Desktop.db"));
        Schema::createEmptyDatabase(m_path);
        m_db = std::make_unique<Database>();
        m_db->open(Database::BuildConnectionString(m_path));
        m_folder = m_work->filePath(QStringLiteral("infrared"));
        QVERIFY(QDir().mkpath(m_folder));
        m_errors = std::make_unique<CapturingPresenter>();
    }

    void cleanup()
    {
        m_errors.reset();
        m_db.reset();
        m_work.reset();
    }

    void testFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("testFile");
        QTest::newRow("upper") << "LU4_0001.TXT" << true;
        QTest::newRow("lower") << "lu4_0002.txt" << true;
        QTest::newRow("mixed") << "Lu4_0003.tXt" << true;
        QTest::newRow("shortest") << "LU4.txt" << true;
        QTest::newRow("other text file") << "notes.txt" << false;
        QTest::newRow("prefix inside") << "xLU4_1.txt" << false;
        QTest::newRow("other ending") << "LU4_1.txt.part" << false;
        QTest::newRow("no dot") << "LU4_1txt" << false;
        QTest::newRow("other instrument") << "LU3_0001.txt" << false;
    }

    void testFileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, testFile);
        QCOMPARE(InfraredFolder::isTestFileName(name), testFile);
    }

    void listsTestFilesInNameOrder()
    {
        for (const char *name : {"lu4_0003.txt", "notes.txt", "LU4_0010.TXT", "LU4_0001.txt",
                                 "Lu4_0002.Txt", "lu4_0001.txt", "LU4_0009.txt.bak"})
            QVERIFY(QFile(QDir(m_folder).filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QDir(m_folder).mkdir(QStringLiteral("LU4_0005.txt"))); // a folder, no file
        QCOMPARE(InfraredFolder::testFiles(m_folder),
                 QStringList({"LU4_0001.txt", "lu4_0001.txt", "Lu4_0002.Txt", "lu4_0003.txt",
                              "LU4_0010.TXT"}));
    }

    void importsEveryTestFileOnce()
    {
        copyFixture(QStringLiteral("demo"));
        InfraredImport import(*m_db, m_folder, false, QLocale::c());
        QStringList read;
        import.onFile = [&read](const QString &name) { read << name; };
        InfraredImport::Result result = import.run();
        QCOMPARE(int(result.status), int(InfraredImport::Status::Imported));
        QVERIFY(result.succeeded());
        QCOMPARE(read, demoTests);
        QCOMPARE(result.stored, 4);
        QCOMPARE(count(*m_db), 4);
        QCOMPARE(filesOf(m_folder), demoTests + QStringList{"notes.txt"});
        QVERIFY(m_errors->messages.isEmpty());

        QSqlQuery row = m_db->select(QStringLiteral(
            "SELECT PFG_KundenNr, PFG_ZaehlerNr, PFG_Pruefart, PFG_Druck, PFG_Druckkurve, "
            "PFG_Gasart, PFG_Befund, PFG_NeuePruefung, PFG_Datum FROM Pruefungen "
            "WHERE PFG_Pruefart = 1"));
        QVERIFY(row.next());
        QCOMPARE(row.value(0).toString(), QStringLiteral("M2"));
        QCOMPARE(row.value(1).toString(), QStringLiteral("0"));
        QCOMPARE(row.value(3).toFloat(), 1050.0f);
        QCOMPARE(row.value(4).toString(), QStringLiteral("10500:10200:3:10500:10310:10200:"));
        QCOMPARE(row.value(5).toString(), QString::fromUtf8("Flüssiggas"));
        QCOMPARE(row.value(6).toInt(), 1);
        QCOMPARE(row.value(7).toInt(), 1);
        QCOMPARE(row.value(8).toString(), QStringLiteral("2024-03-14 10:02:07"));

        result = InfraredImport(*m_db, m_folder, false).run();
        QCOMPARE(result.stored, 0);
        QCOMPARE(result.alreadyPresent, 4);
        QCOMPARE(count(*m_db), 4);
    }

    // The files go only after the store committed: another connection already sees the tests
    // when the deleting begins.
    void deletesFilesAfterTheCommit()
    {
        copyFixture(QStringLiteral("demo"));
        InfraredImport import(*m_db, m_folder, true);
        QList<InfraredImport::Stage> stages;
        int seenByOthers = -1;
        QStringList filesWhenDeleting;
        import.onStage = [&](InfraredImport::Stage stage) {
            stages << stage;
            if (stage != InfraredImport::Stage::Deleting)
                return;
            Database other;
            other.open(Database::BuildConnectionString(m_path));
            seenByOthers = count(other);
            filesWhenDeleting = filesOf(m_folder);
        };
        QList<int> steps;
        import.onProgress = [&steps](int value, int maximum) {
            QCOMPARE(maximum, 12);
            steps << value;
        };
        const InfraredImport::Result result = import.run();
        QVERIFY(result.succeeded());
        QCOMPARE(stages, QList<InfraredImport::Stage>({InfraredImport::Stage::Reading,
                                                       InfraredImport::Stage::Storing,
                                                       InfraredImport::Stage::Deleting}));
        QCOMPARE(seenByOthers, 4);
        QCOMPARE(filesWhenDeleting.size(), 5);
        QCOMPARE(steps.size(), 12);
        QCOMPARE(steps.last(), 12);
        QCOMPARE(result.deletedFiles, demoTests);
        QCOMPARE(filesOf(m_folder), QStringList{"notes.txt"});

        // Nothing left: the next import ends silently.
        const InfraredImport::Result again = InfraredImport(*m_db, m_folder, true).run();
        QCOMPARE(int(again.status), int(InfraredImport::Status::NoFiles));
        QVERIFY(again.succeeded());
        QVERIFY(m_errors->messages.isEmpty());
    }

    void failedStoreDeletesNothing()
    {
        copyFixture(QStringLiteral("demo"));
        QSqlQuery trigger(m_db->connection());
        QVERIFY(trigger.exec(QStringLiteral(
            "CREATE TRIGGER diskFull AFTER INSERT ON Pruefungen "
            "WHEN (SELECT count(*) FROM Pruefungen) >= 3 "
            "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END")));
        const InfraredImport::Result result = InfraredImport(*m_db, m_folder, true).run();
        QCOMPARE(int(result.status), int(InfraredImport::Status::Failed));
        QVERIFY(!result.succeeded());
        QCOMPARE(count(*m_db), 0); // the two written before the failure rolled back
        QCOMPARE(filesOf(m_folder), demoTests + QStringList{"notes.txt"});
        QCOMPARE(m_errors->messages.size(), 1);
    }

    // A transfer cut off in its samples and a file that is not text: both named, nothing
    // stored, no file deleted, also the good one.
    void damagedFilesStoreNothing()
    {
        copyFixture(QStringLiteral("damaged"));
        const QStringList before = filesOf(m_folder);
        const InfraredImport::Result result = InfraredImport(*m_db, m_folder, true).run();
        QCOMPARE(int(result.status), int(InfraredImport::Status::Failed));
        QCOMPARE(result.invalidFiles, QStringList({"LU4_0002.TXT", "LU4_0003.TXT"}));
        QCOMPARE(count(*m_db), 0);
        QCOMPARE(filesOf(m_folder), before);
        QCOMPARE(m_errors->messages.size(), 1);
        const QString message = m_errors->messages.first();
        QVERIFY2(message.contains(QDir(m_folder).absoluteFilePath("LU4_0002.TXT"))
                     && message.contains(QDir(m_folder).absoluteFilePath("LU4_0003.TXT"))
                     && !message.contains("LU4_0001"),
                 qPrintable(message));
    }

    void invalidValueNamesFileAndLine()
    {
        writeFile("LU4_0001.txt", "SNR: 1\r\nSTART: 30.2.24 10:0:0\r\n");
        InfraredImport(*m_db, m_folder, false).run();
        QCOMPARE(m_errors->messages.size(), 1);
        const QString message = m_errors->messages.first();
        QVERIFY2(message.contains(QDir(m_folder).absoluteFilePath("LU4_0001.txt"))
                     && message.contains(" 2 ") && message.contains("START: 30.2.24 10:0:0"),
                 qPrintable(message));
    }

    void badFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a file") << "Lumetra4Desktop.db";
        QTest::newRow("empty setting") << "";
    }

    void badFolder()
    {
        QFETCH(QString, folder);
        const QString path = folder.isEmpty() ? folder : m_work->filePath(folder);
        const InfraredImport::Result result = InfraredImport(*m_db, path, true).run();
        QCOMPARE(int(result.status), int(InfraredImport::Status::Failed));
        QVERIFY(!result.succeeded());
        QCOMPARE(m_errors->messages.size(), 1);
        const QString message = m_errors->messages.first();
        QVERIFY2(message.contains(u'"' + path), qPrintable(message));
    }

    void unreadableFolder()
    {
        if (geteuid() == 0)
            QSKIP("the superuser reads every folder");
        copyFixture(QStringLiteral("demo"));
        QFile::setPermissions(m_folder, QFileDevice::WriteOwner);
        const InfraredImport::Result result = InfraredImport(*m_db, m_folder, true).run();
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                            | QFileDevice::ExeOwner);
        QCOMPARE(int(result.status), int(InfraredImport::Status::Failed));
        QCOMPARE(m_errors->messages.size(), 1);
        QCOMPARE(filesOf(m_folder).size(), 5);
    }

    void folderWithoutTestFilesIsSilent()
    {
        writeFile("notes.txt", "LU4 notes\r\n");
        const InfraredImport::Result result = InfraredImport(*m_db, m_folder, true).run();
        QCOMPARE(int(result.status), int(InfraredImport::Status::NoFiles));
        QVERIFY(result.succeeded());
        QVERIFY(m_errors->messages.isEmpty());
        QCOMPARE(filesOf(m_folder), QStringList{"notes.txt"});
    }

    void stopBeforeTheStoreKeepsEverything()
    {
        copyFixture(QStringLiteral("demo"));
        InfraredImport import(*m_db, m_folder, true);
        import.onFile = [&import](const QString &name) {
            if (name == QLatin1String("LU4_0003.txt"))
                import.requestStop();
        };
        const InfraredImport::Result result = import.run();
        QCOMPARE(int(result.status), int(InfraredImport::Status::Stopped));
        QVERIFY(!result.succeeded());
        QCOMPARE(count(*m_db), 0);
        QCOMPARE(filesOf(m_folder).size(), 5);
        QVERIFY(m_errors->messages.isEmpty());
    }

    // Carry-over follows the name order, whatever order the files were written in.
    void carryOverFollowsNameOrder()
    {
        writeFile("lu4_b.txt", "START: 2.1.24 0:0:0\r\nVOLUMEN: 100 l\r\n");
        writeFile("LU4_a.TXT", "START: 1.1.24 0:0:0\r\nFIRMWARE: V3.10\r\n");
        const InfraredImport::Result result = InfraredImport(*m_db, m_folder, false).run();
        QCOMPARE(result.stored, 2);
        QSqlQuery query = m_db->select(
            QStringLiteral("SELECT PFG_RefDruck FROM Pruefungen WHERE PFG_LeitungsVol = '100'"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("23"));
    }

    void fileThatCannotBeDeletedIsReported()
    {
        copyFixture(QStringLiteral("demo"));
        InfraredImport import(*m_db, m_folder, true);
        import.onStage = [this](InfraredImport::Stage stage) {
            if (stage == InfraredImport::Stage::Deleting)
                QFile::remove(QDir(m_folder).filePath("LU4_0003.txt")); // gone meanwhile
        };
        const InfraredImport::Result result = import.run();
        QCOMPARE(int(result.status), int(InfraredImport::Status::Imported));
        QVERIFY(!result.succeeded());
        QCOMPARE(result.undeletedFiles, QStringList{"LU4_0003.txt"});
        QCOMPARE(result.deletedFiles.size(), 3);
        QCOMPARE(count(*m_db), 4);
        QCOMPARE(m_errors->messages.size(), 1);
        QVERIFY(m_errors->messages.first().contains("LU4_0003.txt"));
    }

private:
    void copyFixture(const QString &name)
    {
        const QDir source(fixtures + u'/' + name);
        const QStringList files = source.entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString &file : files)
            QVERIFY(QFile::copy(source.filePath(file), QDir(m_folder).filePath(file)));
    }

    void writeFile(const char *name, const QByteArray &content)
    {
        QFile file(QDir(m_folder).filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    std::unique_ptr<QTemporaryDir> m_work;
    QString m_path;
    QString m_folder;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<CapturingPresenter> m_errors;
};

QTEST_GUILESS_MAIN(InfraredImportTest)
#include "InfraredImportTest.moc"
