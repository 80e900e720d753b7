#include "statistics/CurveChartData.h"
#include "statistics/CurveDecoder.h"
#include "statistics/CurvePainter.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using Points = QList<QPointF>;

// Curve texts as the instruments store them, decoded and laid out for drawing.
class CurveTest : public QObject
{
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("endValue");
        QTest::addColumn<QString>("localeName");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("pointList");
        QTest::newRow("three samples")
            << "254:240:3:240:247:254:" << 25.0f << "de_DE" << true << 25.4 << 24.0 << 4
            << "240:247:254:250:";
        QTest::newRow("end value raises the maximum")
            << "254:240:3:240:247:254:" << 26.5f << "de_DE" << true << 26.5 << 24.0 << 4
            << "240:247:254:265:";
        QTest::newRow("end value lowers the minimum")
            << "254:240:3:240:247:254:" << 23.0f << "de_DE" << true << 25.4 << 23.0 << 4
            << "240:247:254:230:";
        QTest::newRow("fractional tenths, German separator")
            << "110:105:3:105:110:107,5:" << 10.75f << "de_DE" << true << 11.0 << 10.5 << 4
            << "105:110:107,5:107,5:";
        QTest::newRow("point separator read under German rules")
            << "110:105:3:105:110:107.5:" << 10.75f << "de_DE" << true << 11.0 << 10.5 << 4
            << "105:110:107,5:107,5:";
        QTest::newRow("negative values")
            << "-5:-20:2:-20:-5:" << -1.0f << "en_US" << true << -0.5 << -2.0 << 3
            << "-20:-5:-10:";
        QTest::newRow("empty text") << "" << 1.0f << "de_DE" << false << 0.0 << 0.0 << 0 << "";
        QTest::newRow("one sample keeps no points")
            << "200:200:1:200:" << 20.0f << "de_DE" << true << 20.0 << 20.0 << 1 << "";
        QTest::newRow("no samples") << "0:0:0:" << 0.0f << "de_DE" << true << 0.0 << 0.0 << 0
                                    << "";
        QTest::newRow("truncated after the count")
            << "254:240:3" << 25.0f << "de_DE" << true << 25.4 << 24.0 << 0 << "";
        QTest::newRow("fewer samples than the count")
            << "254:240:5:240:247:" << 25.0f << "de_DE" << true << 25.4 << 24.0 << 3
            << "240:247:250:";
        QTest::newRow("more samples than the count")
            << "254:240:2:240:247:254:" << 25.0f << "de_DE" << true << 25.4 << 24.0 << 3
            << "240:247:250:";
        QTest::newRow("non-numeric sample ends the list")
            << "254:240:4:240:x7:254:251:" << 25.0f << "de_DE" << true << 25.4 << 24.0 << 1
            << "";
        QTest::newRow("unreadable bounds come from the points")
            << "abc::3:240:247:254:" << 25.0f << "de_DE" << true << 25.4 << 24.0 << 4
            << "240:247:254:250:";
        QTest::newRow("non-numeric count") << "254:240:drei:240:" << 25.0f << "de_DE" << false
                                           << 0.0 << 0.0 << 0 << "";
        QTest::newRow("garbage") << "::::" << 25.0f << "de_DE" << false << 0.0 << 0.0 << 0
                                 << "";
        QTest::newRow("points outside the stated bounds")
            << "250:245:3:240:247:254:" << 25.0f << "de_DE" << true << 25.4 << 24.0 << 4
            << "240:247:254:250:";
        QTest::newRow("huge count") << "10:10:1e300:10:" << 1.0f << "de_DE" << true << 1.0
                                    << 1.0 << 1 << "";
    }
    void decode()
    {
        QFETCH(QString, text);
        QFETCH(float, endValue);
        QFETCH(QString, localeName);
        const DecodedCurve curve = DecodeCurve(text, endValue, QLocale(localeName));
        QTEST(curve.valid, "valid");
        if (!curve.valid)
            return;
        QTEST(curve.maximum, "maximum");
        QTEST(curve.minimum, "minimum");
        QTEST(curve.count, "count");
        QTEST(curve.pointList, "pointList");
        QCOMPARE(curve.points.size(), curve.pointList.count(u':'));
    }

    void chart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("measuringTime");
        QTest::addColumn<int>("testKind");
        QTest::addColumn<float>("endValue");
        QTest::addColumn<double>("axisMaximum");
        QTest::addColumn<double>("axisMinimum");
        QTest::addColumn<double>("xStep");
        QTest::addColumn<Points>("points");
        QTest::addColumn<QString>("topLabel");
        QTest::newRow("serviceability test")
            << "254:240:3:240:247:254:" << 120 << 0 << 25.0f << 25.9 << 23.5 << 0.6667
            << Points{{0, 24.0}, {0.6667, 24.7}, {1.3334, 25.4}, {2.0001, 25.0}} << "25,9";
        QTest::newRow("flat curve, tenths")
            << "200:200:2:200:200:" << 60 << 0 << 20.0f << 20.2 << 19.8 << 0.5
            << Points{{0, 20}, {0.5, 20}, {1, 20}} << "20,2";
        QTest::newRow("flat curve, load test")
            << "200:200:2:200:200:" << 60 << 1 << 20.0f << 22.0 << 18.0 << 0.5
            << Points{{0, 20}, {0.5, 20}, {1, 20}} << "22";
        QTest::newRow("load test, half to even")
            << "500:490:2:490:500:" << 600 << 1 << 50.0f << 52.0 << 48.0 << 5.0
            << Points{{0, 49}, {5, 50}, {10, 50}} << "52";
        QTest::newRow("load test, wide range")
            << "1100:1000:2:1100:1000:" << 180 << 1 << 100.0f << 113.0 << 97.0 << 1.5
            << Points{{0, 110}, {1.5, 100}, {3, 100}} << "113";
        QTest::newRow("tightness test, narrow range, half to even")
            << "201:200:2:200:201:" << 60 << 2 << 20.1f << 20.2 << 19.8 << 0.5
            << Points{{0, 20}, {0.5, 20.1}, {1, 20.1}} << "20,2";
        QTest::newRow("regulator test keeps its own label format")
            << "254:240:3:240:247:254:" << 120 << 3 << 25.0f << 25.9 << 23.5 << 0.6667
            << Points{{0, 24.0}, {0.6667, 24.7}, {1.3334, 25.4}, {2.0001, 25.0}} << "25,9";
        QTest::newRow("negative values")
            << "-50:-200:2:-200:-50:" << 60 << 0 << -10.0f << -2.3 << -22.7 << 0.5
            << Points{{0, -20}, {0.5, -5}, {1, -10}} << "-2,3";
        QTest::newRow("measuring time 0 spreads the points")
            << "254:240:3:240:247:254:" << 0 << 0 << 25.0f << 25.9 << 23.5 << 1.0 / 3
            << Points{{0, 24.0}, {1.0 / 3, 24.7}, {2.0 / 3, 25.4}, {1, 25.0}} << "25,9";
        QTest::newRow("overflowed measuring time spreads the points")
            << "254:240:3:240:247:254:" << -30000 << 0 << 25.0f << 25.9 << 23.5 << 1.0 / 3
            << Points{{0, 24.0}, {1.0 / 3, 24.7}, {2.0 / 3, 25.4}, {1, 25.0}} << "25,9";
        QTest::newRow("one sample: axis, no line")
            << "200:200:1:200:" << 60 << 0 << 20.0f << 20.2 << 19.8 << 0.0 << Points{}
            << "20,2";
        QTest::newRow("bounds stored the wrong way round")
            << "240:254:3:240:247:254:" << 120 << 0 << 25.0f << 25.9 << 23.5 << 0.6667
            << Points{{0, 24.0}, {0.6667, 24.7}, {1.3334, 25.4}, {2.0001, 25.0}} << "25,9";
    }
    void chart()
    {
        QFETCH(QString, text);
        QFETCH(int, measuringTime);
        QFETCH(int, testKind);
        QFETCH(float, endValue);
        QFETCH(double, axisMaximum);
        QFETCH(double, axisMinimum);
        QFETCH(double, xStep);
        QFETCH(Points, points);
        QFETCH(QString, topLabel);
        const CurveChartData chart = DrawCurve(text, qint16(measuringTime), QStringLiteral("T"),
                                               testKind, endValue, QLocale(QLocale::German));
        QCOMPARE(chart.title, QStringLiteral("T"));
        QCOMPARE(chart.axis.maximum, axisMaximum);
        QCOMPARE(chart.axis.minimum, axisMinimum);
        QCOMPARE(chart.axis.majorDivisions, 4);
        QCOMPARE(chart.axis.minorDivisions, 2);
        QVERIFY(qFuzzyCompare(chart.xStep + 1, xStep + 1));
        QCOMPARE(chart.points.size(), points.size());
        for (qsizetype i = 0; i < points.size(); ++i) {
            QVERIFY2(qFuzzyCompare(chart.points.at(i).x() + 1, points.at(i).x() + 1),
                     qPrintable(QString::number(chart.points.at(i).x())));
            QVERIFY(qFuzzyCompare(chart.points.at(i).y(), points.at(i).y()));
        }
        QCOMPARE(chart.valueLabel(chart.axis.maximum), topLabel);
        if (!points.isEmpty())
            QVERIFY(chart.timeAxisMinutes >= chart.points.last().x());
        QCOMPARE(chart.timeKnown, measuringTime > 0);
    }

    void labelFormats_data()
    {
        QTest::addColumn<int>("testKind");
        QTest::addColumn<QString>("localeName");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("label");
        QTest::newRow("kind 0, German") << 0 << "de_DE" << 23.5 << "23,5";
        QTest::newRow("kind 0, English") << 0 << "en_US" << 23.5 << "23.5";
        QTest::newRow("kind 2, whole number") << 2 << "de_DE" << 24.0 << "24,0";
        QTest::newRow("kind 1") << 1 << "de_DE" << 48.0 << "48";
        QTest::newRow("kind 3, as needed") << 3 << "de_DE" << 24.25 << "24,25";
        QTest::newRow("no negative zero") << 0 << "de_DE" << -0.00001 << "0,0";
    }
    void labelFormats()
    {
        QFETCH(int, testKind);
        QFETCH(QString, localeName);
        QFETCH(double, value);
        const CurveChartData chart = DrawCurve(QStringLiteral("10:0:2:0:10:"), 60, QString(),
                                               testKind, 1.0f, QLocale(localeName));
        QTEST(chart.valueLabel(value), "label");
    }

    void paintsIntoImageAndPdf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("measuringTime");
        QTest::addColumn<bool>("line");
        QTest::newRow("curve") << "254:240:3:240:247:254:" << 120 << true;
        QTest::newRow("measuring time 0") << "254:240:3:240:247:254:" << 0 << true;
        QTest::newRow("one sample") << "200:200:1:200:" << 60 << false;
        QTest::newRow("broken text") << "254:240:" << 60 << false;
    }
    void paintsIntoImageAndPdf()
    {
        QFETCH(QString, text);
        QFETCH(int, measuringTime);
        QFETCH(bool, line);
        const CurveChartData chart = DrawCurve(text, qint16(measuringTime),
                                               QStringLiteral("Druckkurve"), 0, 25.0f,
                                               QLocale(QLocale::German));
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paintCurve(painter, image.rect(), chart);
        }
        // The curve is drawn in blue; grid, frame and labels are grey or black.
        int bluePixels = 0;
        int darkPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor colour = image.pixelColor(x, y);
                bluePixels += colour.blue() > 150 && colour.red() < 100;
                darkPixels += colour.lightness() < 80;
            }
        }
        QCOMPARE(bluePixels > 100, line);
        QVERIFY(darkPixels > 500);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("curve.pdf"));
        {
            QPdfWriter pdf(path);
            QPainter painter(&pdf);
            paintCurve(painter, QRectF(0, 0, pdf.width(), pdf.height() / 2.0), chart);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.startsWith("%PDF"));
        QVERIFY(content.size() > 2000);
    }

    void tinyTargetsDrawNothing()
    {
        const CurveChartData chart = DrawCurve(QStringLiteral("254:240:3:240:247:254:"), 120,
                                               QStringLiteral("T"), 0, 25.0f);
        QImage image(3, 3, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintCurve(painter, image.rect(), chart);
        painter.end();
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
    }
};

QTEST_MAIN(CurveTest)
#include "CurveTest.moc"
