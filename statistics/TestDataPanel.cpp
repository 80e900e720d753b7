#include "statistics/TestDataPanel.h"

#include "data/ColumnCaptions.h"
#include "data/Recordset.h"
#include "data/StringTable.h"
#include "statistics/TestTexts.h"

namespace {

constexpr double notMeasured = -99999;

QString number(const QVariant &value, int decimals, const QLocale &locale)
{
    if (value.isNull())
        return {};
    bool ok = false;
    double v = locale.toDouble(value.toString().trimmed(), &ok);
    if (!ok)
        v = value.toString().trimmed().toDouble(&ok);
    return ok ? locale.toString(v, 'f', decimals) : value.toString().trimmed();
}

TestDataPanel::Row measured(int labelString, const QVariant &value, int decimals,
                            const QLocale &locale)
{
    return {resString(labelString), number(value, decimals, locale), resString(26953),
            Qt::white, true};
}

// A value of a regulator test; -99999 means it was not measured.
TestDataPanel::Row regulatorRow(int labelString, const QVariant &value, const QLocale &locale)
{
    if (!value.isNull() && value.toDouble() == notMeasured)
        return {resString(labelString), {}, {}, QColor(), true};
    return measured(labelString, value, 1, locale);
}

// Zero shut-off and low-flow safety device: 0 OK, 2 nOK, 3 the given text (not applicable or
// missing), anything else nothing.
TestDataPanel::Row checkRow(int labelString, const QVariant &code, int thirdString)
{
    TestDataPanel::Row row{resString(labelString), {}, {}, QColor(), false};
    switch (code.isNull() ? -1 : code.toInt()) {
    case 0: row.value = resString(25069); row.marker = QColor(0, 255, 0); break;
    case 2: row.value = resString(25071); row.marker = QColor(255, 0, 0); break;
    case 3: row.value = resString(thirdString); row.marker = Qt::white; break;
    default: return row;
    }
    row.border = true;
    return row;
}

} // namespace

TestDataPanel TestDataPanel::fromCurrentTest(const Recordset &tests, const QLocale &locale)
{
    const ColumnCaptions &c = columnCaptions();
    const auto value = [&tests](const QString &caption) { return tests.value(caption); };
    TestDataPanel panel;
    const QVariant befund = value(c.capBefund);
    panel.finding = {resString(25800), FindingText(befund), {}, FindingColour(befund),
                     FindingColour(befund).isValid()};
    const QVariant kind = value(c.capPruefart);
    panel.title = GridTestKindText(kind);
    switch (kind.isNull() ? -1 : kind.toInt()) {
    case 0:
        panel.title += QStringLiteral(" (") + value(c.capGasart).toString() + u')';
        panel.rows << measured(25776, value(c.capEndDruck), 1, locale)
                   << Row{resString(25777), number(value(c.capFluss), 1, locale),
                          resString(26955), Qt::white, true};
        break;
    case 1:
        panel.rows << measured(25779, value(c.capDruck), 0, locale)
                   << measured(25780, value(c.capEndDruck), 0, locale);
        break;
    case 2:
        panel.rows << measured(25779, value(c.capDruck), 1, locale)
                   << measured(25780, value(c.capEndDruck), 1, locale);
        break;
    case 3:
        panel.rows << regulatorRow(25080, value(c.capFliessdruck), locale)
                   << regulatorRow(25081, value(c.capRuhedruck), locale)
                   << regulatorRow(25082, value(c.capSAVDruck), locale)
                   << checkRow(25083, value(c.capBefundNullabschluss), 25078);
        panel.finding = checkRow(25084, value(c.capBefundGMSicherung), 25079);
        break;
    default:
        break;
    }
    while (panel.rows.size() < 4)
        panel.rows << Row{};

    const QString pipeVolume = value(c.capLeitungsVol).toString().trimmed();
    panel.extraShown = kind.toInt() == 0 && !kind.isNull() && !pipeVolume.isEmpty();
    if (panel.extraShown) {
        const QString refDruck = value(c.capRefDruck).toString().trimmed();
        panel.extraTitle = resString(refDruck == QLatin1String("23") ? 27162 : 27156);
        panel.extraRows
            << Row{resString(27157) + u':',
                   QStringLiteral("< ") + number(pipeVolume, 1, locale), resString(26958), {}, false}
            << Row{resString(27158) + u':', value(c.capMesszeit).toString().trimmed(),
                   resString(26957), {}, false}
            << Row{resString(27159) + u':', refDruck, resString(26953), {}, false}
            << Row{resString(27160) + u':', value(c.capLeckrate).toString().trimmed(),
                   resString(26955), {}, false};
    }
    return panel;
}
