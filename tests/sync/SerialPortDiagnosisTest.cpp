#include "data/StringTable.h"
#include "sync/SerialPortDiagnosis.h"

#include <QTest>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

class SerialPortDiagnosisTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { StringTable::setLanguage(QStringLiteral("en")); }

    void missingDeviceGetsItsAdvice()
    {
        qputenv("VLM_BUS_COM3", "/dev/ttyUSB-not-there");
        QString device;
        QCOMPARE(SerialPortDiagnosis::diagnose(3, &device), SerialPortDiagnosis::Cause::NoDevice);
        QCOMPARE(device, QStringLiteral("/dev/ttyUSB-not-there"));
        const QString text = portUnavailableText(3);
        QVERIFY(text.startsWith(resString(27008) + u'3' + resString(27009)));
        QVERIFY(text.contains(QLatin1String("There is no device at /dev/ttyUSB-not-there")));
    }

    void workingTerminalGetsNoAdvice()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        qputenv("VLM_BUS_COM3", ptsname(master));
        QCOMPARE(SerialPortDiagnosis::diagnose(3), SerialPortDiagnosis::Cause::None);
        QCOMPARE(portUnavailableText(3), resString(27008) + u'3' + resString(27009));
        ::close(master);
    }

    void advicePerCause_data()
    {
        QTest::addColumn<int>("cause");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("permission") << int(SerialPortDiagnosis::Cause::NoPermission) << "dialout";
        QTest::newRow("busy") << int(SerialPortDiagnosis::Cause::Busy) << "ModemManager";
        QTest::newRow("other") << int(SerialPortDiagnosis::Cause::Other) << "";
    }
    void advicePerCause()
    {
        QFETCH(int, cause);
        QFETCH(QString, mentions);
        const QString advice = SerialPortDiagnosis::advice(SerialPortDiagnosis::Cause(cause),
                                                           QStringLiteral("/dev/ttyS0"));
        QCOMPARE(advice.contains(mentions) && !advice.isEmpty(), !mentions.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SerialPortDiagnosisTest)
#include "SerialPortDiagnosisTest.moc"
