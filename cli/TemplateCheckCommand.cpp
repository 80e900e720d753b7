#include "cli/TemplateCheckCommand.h"

#include "cli/Command.h"
#include "statistics/CurveChartData.h"
#include "statistics/CurvePainter.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/FilledTemplate.h"
#include "statistics/ProtocolNames.h"
#include "statistics/TemplateReader.h"

#include <QGuiApplication>
#include <QHash>

#include <cstdio>

namespace {

// Values that look like a real test, so that a template's layout can be judged on paper.
QHash<QString, QString> sampleValues()
{
    return {
        {QStringLiteral("Kunde"), QStringLiteral("Erika Mustermann\r\nHausverwaltung Nord")},
        {QStringLiteral("KundenNr"), QStringLiteral("004711")},
        {QStringLiteral("ZaehlerNr"), QStringLiteral("12345678")},
        {QStringLiteral("ZaehlerNrAlt"), QStringLiteral("87654321")},
        {QStringLiteral("Strasse"), QStringLiteral("Lindenstraße 12")},
        {QStringLiteral("Ort"), QStringLiteral("12345 Musterstadt")},
        {QStringLiteral("Druck"), QStringLiteral("25,4")},
        {QStringLiteral("Druckende"), QStringLiteral("25,0")},
        {QStringLiteral("Fluss"), QStringLiteral("1,5")},
        {QStringLiteral("Leistungsvolumen"), QStringLiteral("< 200,0")},
        {QStringLiteral("RefDruck"), QStringLiteral("23,0")},
        {QStringLiteral("LeckrateG5952"), QStringLiteral("1,4")},
        {QStringLiteral("LeckrateVP952"), QStringLiteral("1,3")},
        {QStringLiteral("Fliessdruck"), QStringLiteral("21,8")},
        {QStringLiteral("Ruhedruck"), QStringLiteral("---")},
        {QStringLiteral("SAV"), QStringLiteral("48,2")},
        {QStringLiteral("Nullabschluss"), QStringLiteral("0")},
        {QStringLiteral("GMSicherung"), QStringLiteral("3")},
        {QStringLiteral("Pruefer"), QStringLiteral("Max Prüfer")},
        {QStringLiteral("Befund"), QStringLiteral("1")},
        {QStringLiteral("Auftraggeber"), QStringLiteral("Stadtwerke Musterstadt")},
        {QStringLiteral("Messgeraet"), QStringLiteral("Velmora Lumetra 4 Fab.-Nr. 063 01 04711")},
        {QStringLiteral("Bemerkung"), QStringLiteral("Probemessung \"{Kunde}\" – Werte frei erfunden")},
        {QStringLiteral("Pruefdatum"), QStringLiteral("01.05.2009  10:30")},
    };
}

void placeSampleCharts(FilledTemplate &protocol)
{
    struct Sample
    {
        const char *area;
        const char *title;
        const char *curve;
        float end;
    };
    const Sample samples[] = {
        {"pressureChart", "Druckkurve", "254:240:5:254:251:247:244:240:", 25.0f},
        {"flowChart", "Flusskurve", "16:14:4:14:15:16:15:", 1.5f},
    };
    for (const Sample &sample : samples) {
        const WorkbookTemplate::Placement *area =
            protocol.workbook().area(QLatin1String(sample.area));
        if (!area)
            continue;
        const CurveChartData chart = DrawCurve(QLatin1String(sample.curve), 300,
                                               QString::fromUtf8(sample.title), 0, sample.end);
        protocol.placeDrawing(area->rectangle, [chart](QPainter &painter, const QRectF &target) {
            paintCurve(painter, target, chart);
        });
    }
}

} // namespace

int runTemplateCheckCommand(const QStringList &arguments)
{
    const qsizetype pdfOption = arguments.indexOf(QStringLiteral("--pdf"));
    QStringList files = arguments;
    QString pdfPath;
    if (pdfOption >= 0) {
        if (pdfOption + 1 >= arguments.size())
            return usageError(QStringLiteral("--pdf needs the output file"));
        pdfPath = arguments.at(pdfOption + 1);
        files.remove(pdfOption, 2);
    }
    if (files.size() != 1 || files.contains(QStringLiteral("--help"))) {
        printLine(QStringLiteral(
            "Usage: lumetra4 template-check FILE [--pdf OUT]\n"
            "Reads a protocol template and reports every fault with its file and line.\n"
            "With --pdf, renders the template filled with sample values to OUT, its areas\n"
            "(logo, charts) outlined and named. Exit code 1 when the template has faults."));
        return arguments.contains(QStringLiteral("--help")) ? 0 : 2;
    }

    TemplateReader reader(protocolNames());
    const std::optional<WorkbookTemplate> workbook = reader.read(files.first());
    if (!workbook) {
        std::fprintf(stderr, "%s\n", reader.errorText().toUtf8().constData());
        return 1;
    }
    printLine(QStringLiteral("%1: OK, %2 columns, %3 rows, %4 cells, %5 areas")
                  .arg(files.first()).arg(workbook->columnCount()).arg(workbook->rowCount())
                  .arg(workbook->cells.size()).arg(workbook->areas.size()));
    if (pdfPath.isEmpty())
        return 0;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return usageError(QStringLiteral("rendering needs the graphical application object"));

    FilledTemplate protocol(*workbook);
    const QHash<QString, QString> values = sampleValues();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        protocol.defineName(it.key(), it.value());
    placeSampleCharts(protocol);
    protocol.setOutlineAreas(true);
    QString error;
    if (!DocumentPrinter::writePdf(protocol, pdfPath, &error, files.first())) {
        std::fprintf(stderr, "lumetra4: %s\n", error.toUtf8().constData());
        return 1;
    }
    printLine(QStringLiteral("written: ") + pdfPath);
    return 0;
}
