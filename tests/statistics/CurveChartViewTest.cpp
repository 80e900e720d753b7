#include "statistics/CurveChartView.h"

#include <QTest>

// The chart in a window, in fast and in slow graphics mode.
class CurveChartViewTest : public QObject
{
    Q_OBJECT
private slots:
    void showsTheCurve_data()
    {
        QTest::addColumn<bool>("fast");
        QTest::newRow("fast") << true;
        QTest::newRow("slow") << false;
    }
    void showsTheCurve()
    {
        QFETCH(bool, fast);
        CurveChartView view;
        view.setFastMode(fast);
        view.resize(400, 250);
        view.setChart(DrawCurve(QStringLiteral("254:240:3:240:247:254:"), 120,
                                QStringLiteral("Druckkurve"), 0, 25.0f));
        const QImage shot = view.grab().toImage();
        int blue = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                blue += c.blue() > 150 && c.red() < 100;
            }
        }
        QVERIFY(blue > 100);
        // Slow mode shows a picture made once; fast mode keeps none.
        QCOMPARE(view.picture().isNull(), fast);
        if (!fast) {
            view.resize(300, 200);
            QCOMPARE(view.grab().toImage().size(), QSize(300, 200));
            QCOMPARE(view.picture().size(), QSize(300, 200));
        }
    }

    void clearedViewIsEmpty()
    {
        CurveChartView view;
        view.resize(100, 80);
        view.setChart(DrawCurve(QStringLiteral("254:240:3:240:247:254:"), 120,
                                QStringLiteral("T"), 0, 25.0f));
        view.clear();
        const QImage shot = view.grab().toImage();
        QCOMPARE(shot.pixelColor(50, 40), QColor(Qt::white));
    }
};

QTEST_MAIN(CurveChartViewTest)
#include "CurveChartViewTest.moc"
