#include "bus/PtyInstruments.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <mutex>

namespace {

constexpr uint32_t first = 0x3F01002A;  // "063 01 00042"
constexpr uint32_t second = 0x3F020007; // "063 02 00007"

} // namespace

// lumetra4 bus as a user runs it, against scripted instruments on a pseudo-terminal.
class BusCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void commands_data();
    void commands();

private:
    QTemporaryDir m_folder;
};

void BusCommandTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
}

void BusCommandTest::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expectedLines"); // lines of stdout, or of stderr on failure

    QTest::newRow("scan") << QStringList{"scan", "--port", "1"} << 0
                          << QStringList{"2 instrument(s) attached",
                                         "063 01 00042  firmware 2002  parameters 80",
                                         "063 02 00007  firmware 2002  parameters 80"};
    QTest::newRow("param") << QStringList{"param", "063 02 00007", "13"} << 0
                           << QStringList{"parameter 13 of 063 02 00007: type 2, 2 byte(s): d2 07",
                                          "value: 2002"};
    QTest::newRow("dump") << QStringList{"dump", "0x3F01002A", "--type", "2", "--address",
                                         "0x100", "--length", "20"}
                          << 0
                          << QStringList{QStringLiteral("00000100 ") + QString(" a5").repeated(16),
                                         "00000110  a5 a5 a5 a5"};
    QTest::newRow("unknown FAB") << QStringList{"param", "063 09 00001", "13"} << 1
                                 << QStringList{"lumetra4 bus: parameter 13 of 063 09 00001: "
                                                "get service 'parameter description' fails!"};
    QTest::newRow("bad memory type") << QStringList{"dump", "1", "--type", "5", "--address",
                                                    "0", "--length", "1"}
                                     << 2
                                     << QStringList{"lumetra4: --type must be a memory type 0 "
                                                    "to 4"};
    QTest::newRow("port 9") << QStringList{"scan", "--port", "9"} << 2
                            << QStringList{"lumetra4: --port must be 1 to 8"};
}

void BusCommandTest::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expectedLines);
    std::mutex lock;
    ScriptedInstruments instruments;
    instruments.waiting = {first, second};
    instruments.reads[{3, 2}] = {2, 0};
    instruments.reads[{3, 1}] = {0xD2, 0x07};
    instruments.reads[{3, 3}] = {1, 2, 3, 4};
    instruments.reads[{2, 0}] = {80, 0};
    instruments.reads[{34, 0}] = Bytes(20, 0xA5);
    PtyInstruments line([&](const Bytes &request) {
        std::lock_guard guard(lock);
        if (request[0] == 0xAA && !instruments.attached.count(readLittleEndian32(&request[1])))
            return Bytes{};
        return instruments(request);
    });
    QVERIFY(line.isValid());

    const QString log = m_folder.filePath(QStringLiteral("%1.log").arg(QTest::currentDataTag()));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VLM_BUS_COM1"), QString::fromStdString(line.path()));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.path());
    environment.insert(QStringLiteral("LUMETRA4_VLM_MEM"), QStringLiteral(VLM_MEM_FILE));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LUMETRA4_CLI),
                  QStringList{"bus"} + arguments + QStringList{"--log", log});
    QVERIFY(process.waitForFinished(20000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() == exitCode, qPrintable(out + err));
    const QString shown = exitCode == 0 ? out : err;
    for (const QString &expected : expectedLines)
        QVERIFY2(shown.split(u'\n').contains(expected), qPrintable(shown));
    if (exitCode != 2) {
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Function: StartCommunication"));
    }
}

QTEST_GUILESS_MAIN(BusCommandTest)
#include "BusCommandTest.moc"
