#include "data/IniFile.h"
#include "data/Settings.h"
#include "support/CapturingPresenter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class SettingsTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    IniFile iniWith(const QByteArray &content)
    {
        const QString path = dir.filePath(QStringLiteral("t.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        return IniFile(path);
    }

private slots:
    void defaultsWithoutFrmMain()
    {
        CapturingPresenter errors;
        const Settings s = Settings::load(iniWith("[Pfade]\nDatenbank=/x\n"));
        QVERIFY(s.grafikmodusSchnell);
        QVERIFY(!s.deleteSyncedPruef);
        QVERIFY(s.autoCommPort);
        QCOMPARE(s.commPort, qint16(0));
        QCOMPARE(s.timeOut, qint16(3000));
        QVERIFY(errors.messages.isEmpty());
    }

    void booleansAreNonZeroIntegers()
    {
        const Settings s = Settings::load(iniWith(
            "[frmMain]\nGrafikmodusSchnell=0\nDeleteSyncedPruef=1\nAutoCommPort=0\nCommPort=3\n"
            "TimeOut=700\n"));
        QVERIFY(!s.grafikmodusSchnell);
        QVERIFY(s.deleteSyncedPruef);
        QVERIFY(!s.autoCommPort);
        QCOMPARE(s.commPort, qint16(3));
        QCOMPARE(s.timeOut, qint16(700));
    }

    void nonNumericValueKeepsDefaultAndIsReported()
    {
        CapturingPresenter errors;
        const Settings s = Settings::load(iniWith("[frmMain]\nTimeOut=fast\nCommPort=70000\n"));
        QCOMPARE(s.timeOut, qint16(3000));
        QCOMPARE(s.commPort, qint16(0));
        QCOMPARE(errors.messages.size(), 2);
        QVERIFY(errors.messages.join(u'\n').contains(QStringLiteral("TimeOut=fast")));
    }

    void saveRoundTrips()
    {
        IniFile ini = iniWith("");
        Settings s;
        s.deleteSyncedPruef = true;
        s.timeOut = 9000;
        QVERIFY(s.save(ini));
        QCOMPARE(ini.read(QStringLiteral("frmMain"), QStringLiteral("DeleteSyncedPruef"), {}),
                 QStringLiteral("-1"));
        const Settings back = Settings::load(ini);
        QVERIFY(back.deleteSyncedPruef);
        QCOMPARE(back.timeOut, qint16(9000));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
