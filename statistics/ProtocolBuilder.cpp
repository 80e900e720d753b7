#include "statistics/ProtocolBuilder.h"

#include "data/FileLocations.h"
#include "data/RuntimeError.h"
#include "data/StringTable.h"
#include "statistics/CurveChartData.h"
#include "statistics/CurvePainter.h"
#include "statistics/ProtocolNameValues.h"
#include "statistics/ProtocolNames.h"
#include "statistics/ProtocolTest.h"
#include "statistics/TemplateReader.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int englishLanguageNo = 2;
constexpr qint32 fileNotFound = 53;
constexpr qint32 badFileFormat = 321;
const QString errorSource = QStringLiteral("BuildProtocol");

QString rectangleText(const CellRectangle &r)
{
    return QStringLiteral("%1, %2, %3, %4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}

FilledTemplate::Drawing chartDrawing(const CurveChartData &chart)
{
    return [chart](QPainter &painter, const QRectF &target) { paintCurve(painter, target, chart); };
}

} // namespace

ProtocolBuilder::ProtocolBuilder(QString templateFolder, int languageNo, const QString &logoFile,
                                 QLocale locale)
    : m_folder(std::move(templateFolder)), m_languageNo(languageNo), m_locale(std::move(locale)),
      m_logo(logoFile)
{}

QString ProtocolBuilder::defaultTemplateFolder()
{
    return FileLocations::sharedDataFolder() + QStringLiteral("/templates");
}

QString ProtocolBuilder::templatePath(const ProtocolTemplateChoice &choice)
{
    const QDir folder(m_folder);
    const QString own = folder.filePath(choice.fileName(m_languageNo));
    if (QFileInfo::exists(own))
        return own;
    const QString english = folder.filePath(choice.fileName(englishLanguageNo));
    if (m_languageNo == englishLanguageNo || !QFileInfo::exists(english))
        throw RuntimeErrorException(fileNotFound, errorSource, resString(25961).arg(own));
    tell(QStringLiteral("language"), resString(25960).arg(own, english));
    return english;
}

const WorkbookTemplate &ProtocolBuilder::templateFor(const ProtocolTemplateChoice &choice)
{
    const QString path = templatePath(choice);
    const auto found = m_templates.constFind(path);
    if (found != m_templates.cend())
        return *found;
    TemplateReader reader(protocolNames());
    std::optional<WorkbookTemplate> workbook = reader.read(path);
    if (!workbook) {
        throw RuntimeErrorException(badFileFormat, errorSource,
                                    resString(25962) + QLatin1Char('\n') + reader.errorText());
    }
    return *m_templates.insert(path, std::move(*workbook));
}

void ProtocolBuilder::checkRectangles(const WorkbookTemplate &workbook,
                                      const ProtocolTemplateChoice &choice)
{
    const std::pair<const char *, const std::optional<CellRectangle> &> rectangles[] = {
        {"logo", choice.logo},
        {"pressureChart", choice.pressureChart},
        {"flowChart", choice.flowChart},
    };
    for (const auto &[name, rectangle] : rectangles) {
        if (!rectangle || workbook.contains(*rectangle))
            continue;
        const WorkbookTemplate::Placement *area = workbook.area(QLatin1String(name));
        const TemplateError error{workbook.filePath, area ? area->line : 0,
                                  resString(25964).arg(QLatin1String(name),
                                                       rectangleText(*rectangle))};
        throw RuntimeErrorException(badFileFormat, errorSource,
                                    resString(25962) + QLatin1Char('\n') + error.text());
    }
}

bool ProtocolBuilder::check(const ProtocolTest &test)
{
    const ProtocolTemplateChoice choice =
        ChooseProtocolTemplate(test.kind, test.date, test.leitungsVol, test.refDruck);
    if (!choice.hasTemplate())
        return false;
    checkRectangles(templateFor(choice), choice);
    return true;
}

std::unique_ptr<FilledTemplate> ProtocolBuilder::build(const ProtocolTest &test)
{
    const ProtocolTemplateChoice choice =
        ChooseProtocolTemplate(test.kind, test.date, test.leitungsVol, test.refDruck);
    if (!choice.hasTemplate())
        return nullptr;
    const WorkbookTemplate &workbook = templateFor(choice);
    checkRectangles(workbook, choice);

    auto protocol = std::make_unique<FilledTemplate>(workbook);
    if (choice.logo && !m_logo.file().isEmpty()) {
        if (m_logo.isValid())
            protocol->placeDrawing(*choice.logo, m_logo.drawing());
        else
            tell(QStringLiteral("logo"), resString(25963).arg(m_logo.file()));
    }
    placeCharts(*protocol, test, choice);
    const QHash<QString, QString> names = ProtocolNameValues(test, m_locale);
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        protocol->defineName(it.key(), it.value());
    return protocol;
}

void ProtocolBuilder::placeCharts(FilledTemplate &protocol, const ProtocolTest &test,
                                  const ProtocolTemplateChoice &choice) const
{
    const int kind = choice.kind;
    if (choice.pressureChart && !test.druckkurve.isEmpty()) {
        const CurveChartData chart = DrawCurve(test.druckkurve, test.dauer, resString(25904),
                                               kind, test.endDruck.toFloat(), m_locale);
        protocol.placeDrawing(*choice.pressureChart, chartDrawing(chart));
    }
    if (choice.flowChart && !test.flusskurve.isEmpty()) {
        CurveChartData chart = DrawCurve(test.flusskurve, test.dauer, resString(25905), kind,
                                         test.fluss.toFloat(), m_locale);
        chart.valueAxisTitle = resString(26955);
        protocol.placeDrawing(*choice.flowChart, chartDrawing(chart));
    }
}

void ProtocolBuilder::tell(const QString &key, const QString &message)
{
    if (m_told.contains(key))
        return;
    m_told.insert(key);
    if (m_notice)
        m_notice(message);
}
