#include "statistics/TestListDocument.h"

#include "data/ColumnCaptions.h"
#include "data/Localisation.h"
#include "data/Recordset.h"
#include "data/StringTable.h"

#include <QDateTime>

namespace {

QString codeText(const QVariant &value, const QHash<int, int> &strings)
{
    bool ok = false;
    const int code = value.toInt(&ok);
    if (value.isNull() || !ok || !strings.contains(code))
        return {};
    return resString(strings.value(code));
}

QString valueText(const QVariant &value, const QLocale &locale)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        QLocale plain = locale;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        return plain.toString(value.toDouble(), 'g', 15);
    }
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime dateTime = value.toDateTime();
        return locale.toString(dateTime.date(), fixedShortDateFormat(locale))
               + QStringLiteral(" ") + dateTime.time().toString(QStringLiteral("HH:mm:ss"));
    }
    return value.toString();
}

} // namespace

QString TestListCellText(const QString &caption, const QVariant &value, const QLocale &locale)
{
    const ColumnCaptions &c = columnCaptions();
    if (caption == c.capPruefart)
        return codeText(value, {{0, 203}, {1, 204}, {2, 205}, {3, 206}});
    if (caption == c.capBefund)
        return codeText(value, {{0, 25069}, {1, 25070}, {2, 25071}, {3, 25072}, {4, 25072}});
    if (caption == c.capFliessdruck || caption == c.capRuhedruck || caption == c.capSAVDruck)
        return !value.isNull() && value.toDouble() == -99999 ? QString()
                                                             : valueText(value, locale);
    if (caption == c.capBefundNullabschluss || caption == c.capBefundGMSicherung) {
        bool ok = false;
        const int code = value.toInt(&ok);
        if (value.isNull() || !ok)
            return {};
        if (code == 0)
            return QStringLiteral("OK");
        if (code == 2)
            return QStringLiteral("nOK");
        if (code == 3)
            return resString(caption == c.capBefundNullabschluss ? 25078 : 25079);
        return {};
    }
    return valueText(value, locale);
}

std::unique_ptr<ListDocument> BuildTestList(Recordset &list, const QStringList &columns,
                                            const QString &header, bool landscape,
                                            const QLocale &locale)
{
    std::unique_ptr<Recordset> clone = list.clone();
    clone->setFilter(list.filter(), locale);
    clone->setSort(list.sort());
    QList<int> fields;
    for (const QString &column : columns) {
        const int index = clone->fieldIndex(column);
        if (index >= 0)
            fields << index;
    }
    QStringList headings;
    for (int field : std::as_const(fields))
        headings << clone->fieldName(field);
    QList<QStringList> rows;
    rows.reserve(clone->recordCount());
    for (clone->moveFirst(); !clone->eof(); clone->moveNext()) {
        QStringList row;
        for (int field : std::as_const(fields))
            row << TestListCellText(clone->fieldName(field), clone->value(field), locale);
        rows << row;
    }
    PageSetup setup = ListDocument::listPageSetup();
    setup.landscape = landscape;
    setup.headerText = header;
    setup.footerText = resString(25059) + QStringLiteral("&C&P/&N");
    return std::make_unique<ListDocument>(headings, rows, setup);
}
