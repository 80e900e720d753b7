#include "statistics/ExportGrid.h"

#include <QAbstractProxyModel>
#include <QDateTime>

QString GridDisplayText(const QVariant &value, const QLocale &locale)
{
    switch (value.userType()) {
    case QMetaType::Float:
        return locale.toString(value.toFloat());
    case QMetaType::Double:
        return locale.toString(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return locale.toString(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return locale.toString(value.toULongLong());
    case QMetaType::QDate:
        return locale.toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime:
        return locale.toString(value.toTime(), QLocale::ShortFormat);
    case QMetaType::QDateTime:
        return locale.toString(value.toDateTime(), QLocale::ShortFormat);
    default:
        return value.toString().replace(u'\n', QChar::LineSeparator);
    }
}

namespace {

const QAbstractItemModel &fieldModel(const QAbstractItemModel &model)
{
    const auto *proxy = qobject_cast<const QAbstractProxyModel *>(&model);
    return proxy && proxy->sourceModel() ? *proxy->sourceModel() : model;
}

} // namespace

ExportGrid::ExportGrid(const QAbstractItemModel &model, QList<int> order, QList<bool> visible,
                       const QLocale &locale)
    : m_model(model)
    , m_fields(fieldModel(model))
    , m_order(std::move(order))
    , m_visible(std::move(visible))
    , m_locale(locale)
{
}

int ExportGrid::rowCount() const
{
    return m_model.rowCount();
}

QString ExportGrid::caption(int column) const
{
    return m_model.headerData(column, Qt::Horizontal).toString();
}

bool ExportGrid::visible(int column) const
{
    return column >= 0 && column < m_visible.size() && m_visible.at(column);
}

QString ExportGrid::text(int row, int column) const
{
    if (column < 0)
        return {};
    return GridDisplayText(m_model.data(m_model.index(row, column)), m_locale);
}

int ExportGrid::columnOf(const QString &fieldCaption) const
{
    for (int column = 0; column < m_fields.columnCount(); ++column) {
        if (m_fields.headerData(column, Qt::Horizontal).toString() == fieldCaption)
            return column;
    }
    return -1;
}

QString ExportGrid::cell(int row, const QString &fieldCaption) const
{
    return text(row, columnOf(fieldCaption));
}

QString ExportGrid::captionOf(const QString &fieldCaption) const
{
    const int column = columnOf(fieldCaption);
    return column < 0 ? QString() : caption(column);
}
