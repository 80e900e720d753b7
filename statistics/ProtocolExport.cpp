#include "statistics/ProtocolExport.h"

#include "data/ColumnCaptions.h"
#include "data/StringTable.h"
#include "statistics/CurveDecoder.h"
#include "statistics/ExportCriteria.h"
#include "statistics/ExportGrid.h"
#include "statistics/ProtocolTemplateChoice.h"

#include <optional>

namespace {

QString field(const QString &text)
{
    return text + u';';
}

QString withUnit(const QString &text, int unitString)
{
    return text + QStringLiteral(" (") + resString(unitString) + u')';
}

// A number in the locale's format in its shortest form, without digit grouping.
QString numberText(double value, QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}

// 23 or 22 mbar: the rule that chooses between the G5952 and VP952 protocol templates.
int referencePressure(const QVariant &refDruck)
{
    const ProtocolTemplateChoice choice = ChooseProtocolTemplate(
        0, QDateTime(QDate(2008, 5, 1), QTime()), 1.0, refDruck);
    return choice.method == ProtocolTemplateChoice::LeakMethod::G5952 ? 23 : 22;
}

// The points of a stored curve text in stored order, each in the unit; nullopt for a point
// that is no number.
QList<std::optional<double>> curvePoints(const QString &text, const QLocale &locale)
{
    QStringList parts = text.split(u':');
    if (!parts.isEmpty() && parts.constLast().trimmed().isEmpty())
        parts.removeLast();
    QList<std::optional<double>> points;
    for (qsizetype i = 3; i < parts.size(); ++i) {
        double value = 0;
        points << (parseCurveNumber(parts.at(i).trimmed(), locale, &value)
                       ? std::optional<double>(value / 10)
                       : std::nullopt);
    }
    return points;
}

class Writer
{
public:
    Writer(const ExportGrid &grid, int row, QStringList &lines)
        : m_grid(grid), m_row(row), m_lines(lines)
    {
    }

    QString cell(const QString &caption) const { return m_grid.cell(m_row, caption); }
    QString caption(const QString &caption) const { return m_grid.captionOf(caption); }
    std::optional<double> number(const QString &caption) const
    {
        bool ok = false;
        const double value = m_grid.locale().toDouble(cell(caption).trimmed(), &ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }
    QString point(const std::optional<double> &value) const
    {
        return value ? field(numberText(*value, m_grid.locale())) : QString();
    }

    void customer();
    void leakRate(const QVariant &refDruck);
    void measuredValues(bool customerWritten);
    void kindValues(int rowKind, int chosenKind);
    void curveTable(bool withFlow);

private:
    const ExportGrid &m_grid;
    int m_row;
    QStringList &m_lines;
};

void Writer::customer()
{
    const ColumnCaptions &c = columnCaptions();
    m_lines << field(resString(25052)) + field(cell(c.capKundenNr));
    m_lines << field(resString(25028)) + field(cell(c.capName1));
    m_lines << field(resString(25029)) + field(cell(c.capName2));
    m_lines << field(resString(25030)) + field(cell(c.capStrasse));
    m_lines << field(resString(25031)) + field(cell(c.capPLZ) + u' ' + cell(c.capOrt));
    m_lines << QString() << QString();
}

void Writer::leakRate(const QVariant &refDruck)
{
    const ColumnCaptions &c = columnCaptions();
    const int reference = referencePressure(refDruck);
    m_lines << field(resString(reference == 23 ? 27162 : 27156));
    m_lines << field(caption(c.capLeitungsVol))
                   + field(QStringLiteral("< ") + cell(c.capLeitungsVol).trimmed() + u' '
                           + resString(26958));
    m_lines << field(caption(c.capMesszeit))
                   + field(cell(c.capMesszeit).trimmed() + u' ' + resString(26957));
    m_lines << field(resString(27159))
                   + field(QString::number(reference) + u' ' + resString(26953));
    QString line = field(caption(c.capLeckrate));
    const std::optional<double> flow = number(c.capFluss);
    const std::optional<double> endPressure = number(c.capEndDruck);
    if (flow && endPressure && *endPressure != 0) {
        const double rate = roundHalfEven(*flow * reference / *endPressure, 1);
        line += field(numberText(rate, m_grid.locale()) + u' ' + resString(26955));
    }
    m_lines << line << QString() << QString();
}

void Writer::measuredValues(bool customerWritten)
{
    const ColumnCaptions &c = columnCaptions();
    QList<int> exported;
    const int duration = m_grid.columnOf(c.capDauer);
    for (const int column : m_grid.columns()) {
        if (!m_grid.visible(column) && column != duration)
            continue;
        if (customerWritten
            && (column == m_grid.columnOf(c.capKundenNr)
                || column == m_grid.columnOf(c.capName1)
                || column == m_grid.columnOf(c.capName2)))
            continue;
        exported << column;
    }
    QString headings;
    QString values;
    for (const int column : exported) {
        const QString heading = m_grid.caption(column);
        headings += field(column == duration && customerWritten ? withUnit(heading, 26956)
                                                                : heading);
        values += field(m_grid.text(m_row, column));
    }
    m_lines << headings << values << QString() << QString();
}

void Writer::curveTable(bool withFlow)
{
    const ColumnCaptions &c = columnCaptions();
    const QList<std::optional<double>> pressure =
        curvePoints(cell(c.capDruckkurve), m_grid.locale());
    const QList<std::optional<double>> flow =
        withFlow ? curvePoints(cell(c.capFlusskurve), m_grid.locale())
                 : QList<std::optional<double>>();
    QString heading = field(withUnit(caption(c.capDruckkurve), 26953));
    if (withFlow)
        heading += field(withUnit(caption(c.capFlusskurve), 26955));
    m_lines << heading;
    const qsizetype count = std::max(pressure.size(), flow.size());
    for (qsizetype i = 0; i < count; ++i) {
        QString line = i < pressure.size() ? point(pressure.at(i)) : QStringLiteral(";");
        if (i < flow.size())
            line += point(flow.at(i));
        m_lines << line;
    }
}

void Writer::kindValues(int rowKind, int chosenKind)
{
    const ColumnCaptions &c = columnCaptions();
    switch (rowKind) {
    case 203:
        if (chosenKind != 203) {
            m_lines << field(withUnit(resString(25086), 26953))
                           + field(withUnit(resString(25087), 26955));
            m_lines << field(cell(c.capEndDruck)) + field(cell(c.capFluss));
            m_lines << QString();
        }
        if (!cell(c.capDruckkurve).isEmpty() || !cell(c.capFlusskurve).isEmpty())
            curveTable(true);
        break;
    case 204:
    case 205:
        if (chosenKind != rowKind) {
            m_lines << field(caption(c.capDruck)) + field(caption(c.capEndDruck));
            m_lines << field(cell(c.capDruck)) + field(cell(c.capEndDruck));
            m_lines << QString();
        }
        curveTable(false);
        break;
    case 206:
        if (chosenKind != 206) {
            QString headings;
            QString values;
            for (const QString &name : {c.capFliessdruck, c.capRuhedruck, c.capSAVDruck,
                                        c.capBefundNullabschluss, c.capBefundGMSicherung}) {
                headings += field(caption(name));
                values += field(cell(name));
            }
            m_lines << headings << values;
        }
        break;
    default:
        break;
    }
}

// The test kind of a row: the last cell, over all columns, that reads as a test kind's name.
int rowKind(const ExportGrid &grid, int row)
{
    int kind = 0;
    for (const int column : grid.columns()) {
        if (const int number = TestKindString(grid.text(row, column)))
            kind = number;
    }
    return kind;
}

} // namespace

QStringList ProtocolExportLines(const ExportCriteria &criteria, const ExportGrid &grid, int row,
                                const QVariant &refDruck)
{
    const ColumnCaptions &c = columnCaptions();
    QStringList lines = criteria.lines(ExportCriteria::Export::Protocol);
    Writer writer(grid, row, lines);
    const bool customerWritten = !writer.cell(c.capKundenNr).isEmpty();
    if (customerWritten)
        writer.customer();
    if (!writer.cell(c.capLeitungsVol).trimmed().isEmpty())
        writer.leakRate(refDruck);
    writer.measuredValues(customerWritten);
    writer.kindValues(rowKind(grid, row), criteria.testKindString());
    return lines;
}
