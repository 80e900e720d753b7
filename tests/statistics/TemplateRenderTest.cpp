#include "support/PdfText.h"

#include "statistics/CurveChartData.h"
#include "statistics/CurvePainter.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/FilledTemplate.h"
#include "statistics/PageContext.h"
#include "statistics/PageUnits.h"
#include "statistics/ProtocolNames.h"
#include "statistics/TemplateReader.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

// A filled protocol on paper: its texts in the PDF, its pictures in their rectangles.
class TemplateRenderTest : public QObject
{
    Q_OBJECT
private:
    WorkbookTemplate shippedTemplate()
    {
        TemplateReader reader(protocolNames());
        const auto workbook = reader.read(QStringLiteral(LUMETRA4_SOURCE_DIR)
                                          + QStringLiteral("/templates/Leckmengen1_G5952.vts"));
        if (!workbook)
            qFatal("%s", qPrintable(reader.errorText()));
        return *workbook;
    }

    static FilledTemplate::Drawing chartDrawing()
    {
        const CurveChartData chart = DrawCurve(QStringLiteral("254:240:3:240:247:254:"), 120,
                                               QStringLiteral("Druckkurve"), 0, 25.0f,
                                               QLocale(QLocale::German));
        return [chart](QPainter &painter, const QRectF &target) {
            paintCurve(painter, target, chart);
        };
    }

    static QImage render(const FilledTemplate &protocol)
    {
        const QSizeF sheet = protocol.pageSetup().orientedPaper();
        QImage image(QSize(qRound(sheet.width() * 4), qRound(sheet.height() * 4)),
                     QImage::Format_RGB32); // 4 pixels per millimetre
        image.fill(Qt::black);
        QPainter painter(&image);
        protocol.paintPage(painter, image.rect(), 0, PageContext());
        return image;
    }

    // Pixels of the rectangle (a little inside it, away from borders) that match.
    static int countPixels(const QImage &image, const FilledTemplate &protocol,
                           const CellRectangle &rectangle,
                           const std::function<bool(const QColor &)> &match)
    {
        const double scale = image.width() / (protocol.pageSetup().orientedPaper().width()
                                              * PageUnits::perMm);
        const QRect area = QRectF(protocol.sheetRect(rectangle).topLeft() * scale,
                                  protocol.sheetRect(rectangle).size() * scale)
                               .toAlignedRect().adjusted(4, 4, -4, -4);
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                count += match(image.pixelColor(x, y));
        }
        return count;
    }

private slots:
    void pdfShowsTheValues()
    {
        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        FilledTemplate protocol(shippedTemplate());
        protocol.defineName(QStringLiteral("Kunde"), QStringLiteral("Erika Müller\r\nHaus Süd"));
        protocol.defineName(QStringLiteral("Strasse"), QStringLiteral("Lindenstraße 12"));
        protocol.defineName(QStringLiteral("Druckende"), QStringLiteral("25,0"));
        protocol.defineName(QStringLiteral("LeckrateG5952"), QStringLiteral("1,4"));
        protocol.defineName(QStringLiteral("Befund"), QStringLiteral("2"));
        protocol.defineName(QStringLiteral("Bemerkung"),
                            QStringLiteral("Zitat \"{Kunde}\" & {Ort}"));
        protocol.defineName(QStringLiteral("Messgeraet"),
                            QStringLiteral("Velmora Lumetra 4 Fab.-Nr. 063 01 04711"));
        protocol.placeDrawing({1, 32, 8, 43}, chartDrawing());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("protokoll.pdf"));
        QString error;
        QVERIFY2(DocumentPrinter::writePdf(protocol, path, &error), qPrintable(error));
        const QString text = pdfText(path);
        for (const char *expected :
             {"Prüfprotokoll", "Erika Müller", "Haus Süd", "Lindenstraße 12", "25,0 mbar",
              "1,4 l/h", "nicht gebrauchsfähig (nOK)", "Zitat \"{Kunde}\" & {Ort}",
              "Velmora Lumetra 4 Fab.-Nr. 063 01 04711", "Druckkurve",
              "Erstellt mit Lumetra 4 Desktop"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        // The two lines of the customer stay two lines.
        QVERIFY(text.indexOf(QStringLiteral("Haus Süd")) > text.indexOf(QStringLiteral("Erika")));
        QVERIFY(!text.contains(u'\r'));
        // The areas are not outlined on a real protocol.
        QVERIFY(!text.contains(QStringLiteral("pressureChart")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"protokoll.pdf"});
    }

    void picturesFillTheirRectangles()
    {
        QTemporaryDir dir;
        const QString logo = dir.filePath(QStringLiteral("Firma.png"));
        QImage red(60, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(logo));

        FilledTemplate protocol(shippedTemplate());
        const CellRectangle logoArea{10, 1, 14, 7};
        const CellRectangle pressureArea{1, 32, 8, 43};
        const CellRectangle flowArea{8, 32, 14, 43};
        QVERIFY(protocol.placePicture(logoArea, logo));
        QVERIFY(protocol.placeDrawing(pressureArea, chartDrawing()));
        const QImage image = render(protocol);

        auto isRed = [](const QColor &c) { return c.red() > 200 && c.green() < 60; };
        auto isBlue = [](const QColor &c) { return c.blue() > 150 && c.red() < 100; };
        auto notWhite = [](const QColor &c) { return c.lightness() < 250; };
        QVERIFY(countPixels(image, protocol, logoArea, isRed) > 1000);
        QVERIFY(countPixels(image, protocol, pressureArea, isBlue) > 100);
        QVERIFY(countPixels(image, protocol, pressureArea, notWhite) > 1000);
        // No flow curve: its part of the chart frame stays as the template draws it.
        QCOMPARE(countPixels(image, protocol, flowArea, notWhite), 0);
    }

    void missingOrBrokenLogoLeavesItsRectangleEmpty_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("this is no PNG");
        QTest::newRow("broken SVG") << QByteArray("<svg><unclosed");
    }
    void missingOrBrokenLogoLeavesItsRectangleEmpty()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const bool svg = content.startsWith('<');
        const QString logo = dir.filePath(svg ? QStringLiteral("Firma.svg")
                                              : QStringLiteral("Firma.png"));
        if (!content.isEmpty()) {
            QFile file(logo);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        FilledTemplate protocol(shippedTemplate());
        const CellRectangle logoArea{10, 1, 14, 7};
        QVERIFY(!protocol.placePicture(logoArea, logo));
        const QImage image = render(protocol);
        QCOMPARE(countPixels(image, protocol, logoArea,
                             [](const QColor &c) { return c.lightness() < 250; }),
                 0);
    }

    void rectanglesOutsideTheGridAreRefused()
    {
        FilledTemplate protocol(shippedTemplate());
        QVERIFY(!protocol.placeDrawing({14, 1, 18, 7}, chartDrawing())); // the regulator logo
        QVERIFY(!protocol.placeDrawing({1, 50, 8, 60}, chartDrawing()));
        QVERIFY(!protocol.placeDrawing({1, 32, 8, 43}, FilledTemplate::Drawing()));
    }

    void outlinedAreasForChecking()
    {
        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        FilledTemplate protocol(shippedTemplate());
        protocol.setOutlineAreas(true);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("check.pdf"));
        QVERIFY(DocumentPrinter::writePdf(protocol, path));
        const QString text = pdfText(path);
        for (const char *name : {"logo", "pressureChart", "flowChart"})
            QVERIFY2(text.contains(QLatin1String(name)), name);
    }

    void failedPdfLeavesNoFile()
    {
        QTemporaryDir dir;
        FilledTemplate protocol(shippedTemplate());
        const QString path = dir.filePath(QStringLiteral("missing-folder/protokoll.pdf"));
        QString error;
        QVERIFY(!DocumentPrinter::writePdf(protocol, path, &error));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY(!QFile::exists(path));

        // Over an old file, a finished PDF replaces it and nothing else is left behind.
        const QString old = dir.filePath(QStringLiteral("old.pdf"));
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
        file.close();
        QVERIFY(DocumentPrinter::writePdf(protocol, old, &error));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.pdf"});
    }

    void printsThroughAPrinter()
    {
        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        FilledTemplate protocol(shippedTemplate());
        protocol.defineName(QStringLiteral("Pruefer"), QStringLiteral("Max Prüfer"));
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("paper.pdf")));
        QString error;
        QVERIFY2(DocumentPrinter::print(protocol, printer, &error), qPrintable(error));
        const QString text = pdfText(printer.outputFileName());
        QVERIFY(text.contains(QStringLiteral("Max Prüfer")));
        QVERIFY(text.contains(QStringLiteral("Erstellt mit Lumetra 4 Desktop")));
    }

    void landscapeTurnsThePage()
    {
        FilledTemplate protocol(shippedTemplate());
        protocol.setLandscape(true);
        QCOMPARE(protocol.pageSetup().orientedPaper(), QSizeF(297, 210));
        QCOMPARE(protocol.pageSetup().pageLayout().orientation(), QPageLayout::Landscape);
        // The grid is taller than a landscape page, so it is printed smaller to fit.
        const QRectF chart = protocol.sheetRect({1, 32, 8, 43});
        QVERIFY(chart.bottom() <= 210 * PageUnits::perMm);
    }
};

QTEST_MAIN(TemplateRenderTest)
#include "TemplateRenderTest.moc"
