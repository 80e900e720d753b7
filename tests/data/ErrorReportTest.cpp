#include "data/ErrorReport.h"
#include "data/StringTable.h"
#include "support/CapturingPresenter.h"

#include <QTest>

class ErrorReportTest : public QObject
{
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("de") << "de" << "Lumetra 4 Desktop - Error"
                            << "Fehler in: frmAbfragen\nError-Nr.: 3001\nBeschreibung: bad filter";
        QTest::newRow("en") << "en" << QString("Lumetra 4 Desktop" + StringTable("en").text(26005))
                            << QString(StringTable("en").text(26014) + "frmAbfragen\n"
                                       + StringTable("en").text(26015) + "3001\n"
                                       + StringTable("en").text(26016) + "bad filter");
    }
    void layout()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, message);
        StringTable::setLanguage(language);
        CapturingPresenter box;
        ErrorReport::raise(3001, QStringLiteral("frmAbfragen"), QStringLiteral("bad filter"));
        ErrorReport::ShowError();
        QCOMPARE(box.titles, QStringList{title});
        QCOMPARE(box.messages, QStringList{message});
        QCOMPARE(ErrorReport::current().number, 0);
    }

    void nothingPendingShowsNothingAndSecondCallShowsNothing()
    {
        CapturingPresenter box;
        ErrorReport::ShowError();
        QVERIFY(box.messages.isEmpty());
        ErrorReport::raise(5, QStringLiteral("x"), QStringLiteral("y"));
        ErrorReport::ShowError();
        ErrorReport::ShowError();
        QCOMPARE(box.messages.size(), 1);
        QVERIFY(ErrorReport::current().source.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ErrorReportTest)
#include "ErrorReportTest.moc"
