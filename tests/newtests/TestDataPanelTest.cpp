#include "NewTestsFixture.h"
#include "data/Recordset.h"
#include "newtests/NewTestsList.h"
#include "statistics/TestDataPanel.h"

#include <QTest>

using namespace NewTestsFixture;

class TestDataPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void panel_data()
    {
        QTest::addColumn<QVariant>("row"); // index into rows below
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("firstTwoRows"); // label, value, unit twice
        QTest::addColumn<QString>("finding");
        QTest::addColumn<QString>("extraTitle");  // empty: the extra frame is hidden
        QTest::newRow("serviceability, G5952") << QVariant(0)
            << "Gebrauchsfähigkeitsprüfung (Erdgas)"
            << QStringList{"Druck:", "23.4", "mbar", "Durchfluss:", "1.5", "l / h"} << "OK"
            << "Messwerte nach G5952/TRGI 2008";
        QTest::newRow("serviceability, VP952") << QVariant(1)
            << "Gebrauchsfähigkeitsprüfung (Erdgas)"
            << QStringList{"Druck:", "23.4", "mbar", "Durchfluss:", "1.5", "l / h"} << "bOK"
            << "Messwerte nach VP952/TRGI 2008";
        QTest::newRow("serviceability, no pipe volume") << QVariant(2)
            << "Gebrauchsfähigkeitsprüfung (Erdgas)"
            << QStringList{"Druck:", "23.4", "mbar", "Durchfluss:", "1.5", "l / h"} << ""
            << "";
        QTest::newRow("load test in whole mbar") << QVariant(3) << "Belastungsprüfung"
            << QStringList{"Druck (Anfang):", "25", "mbar", "Druck (Ende):", "23", "mbar"}
            << "nOK" << "";
        QTest::newRow("regulator, not measured") << QVariant(4) << "Reglerprüfung"
            << QStringList{"Fließdruck:", "21.0", "mbar", "Ruhedruck:", "", ""} << "OK" << "";
        QTest::newRow("unknown kind") << QVariant(5) << "9" << QStringList{"", "", "", "", "", ""}
            << "Messabbruch" << "";
    }
    void panel()
    {
        QFETCH(QVariant, row);
        QFETCH(QString, title);
        QFETCH(QStringList, firstTwoRows);
        QFETCH(QString, finding);
        QFETCH(QString, extraTitle);
        FixtureDb db;
        db.addTest({.leitungsVol = "12.5", .refDruck = "23"});
        db.addTest({.befund = 1, .leitungsVol = "12.5", .refDruck = "25"});
        db.addTest({.befund = 255});
        db.addTest({.pruefart = 1, .befund = 2, .druck = 25.2, .endDruck = 23.4});
        db.addTest({.pruefart = 3, .befund = 2, .fliessdruck = 21.0, .ruhedruck = -99999.0,
                    .gmSicherung = 0});
        db.addTest({.pruefart = 9, .befund = 4});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        list->move(row.toInt());
        const TestDataPanel panel = TestDataPanel::fromCurrentTest(*list, QLocale::c());
        QCOMPARE(panel.title, title);
        QCOMPARE((QStringList{panel.rows[0].label, panel.rows[0].value, panel.rows[0].unit,
                              panel.rows[1].label, panel.rows[1].value, panel.rows[1].unit}),
                 firstTwoRows);
        QCOMPARE(panel.finding.value, finding);
        QCOMPARE(panel.extraShown, !extraTitle.isEmpty());
        QCOMPARE(panel.extraTitle, extraTitle);
    }
};

QTEST_GUILESS_MAIN(TestDataPanelTest)
#include "TestDataPanelTest.moc"
