#include "statistics/StatisticsGridModel.h"

#include "data/ColumnCaptions.h"
#include "statistics/StatisticsColumns.h"

void StatisticsGridModel::setNewTests(bool newTests)
{
    if (m_newTests == newTests)
        return;
    m_newTests = newTests;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

ColumnFormat StatisticsGridModel::formatOf(const QString &caption)
{
    const ColumnCaptions &c = columnCaptions();
    if (caption == c.capBefund)
        return ColumnFormat::Finding;
    if (caption == c.capPruefart)
        return ColumnFormat::TestKind;
    if (caption == c.capBefundGMSicherung)
        return ColumnFormat::GasMeterSafety;
    if (caption == c.capBefundNullabschluss)
        return ColumnFormat::ZeroClosure;
    if (caption == c.capFliessdruck || caption == c.capRuhedruck || caption == c.capSAVDruck)
        return ColumnFormat::MissingValue;
    return ColumnFormat::None;
}

QString StatisticsGridModel::caption(int column) const
{
    return sourceModel() ? sourceModel()->headerData(column, Qt::Horizontal).toString()
                         : QString();
}

QVariant StatisticsGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const QVariant stored = QIdentityProxyModel::data(index, Qt::DisplayRole);
        // Single-precision values are centred wherever they stand.
        if (StatisticsColumns::centred(caption(index.column()))
            || stored.typeId() == QMetaType::Double || stored.typeId() == QMetaType::Float)
            return int(Qt::AlignCenter);
    }
    if (role == Qt::DisplayRole) {
        const ColumnFormat format = formatOf(caption(index.column()));
        const QVariant stored = QIdentityProxyModel::data(index, Qt::DisplayRole);
        // A measured value keeps its number, so the grid shows it in the locale's format.
        if (format == ColumnFormat::MissingValue && !GridText(format, stored).isEmpty())
            return stored;
        if (format != ColumnFormat::None)
            return GridText(format, stored);
    }
    return QIdentityProxyModel::data(index, role);
}

QVariant StatisticsGridModel::headerData(int section, Qt::Orientation orientation,
                                         int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole
        && caption(section) == columnCaptions().capKundenNr)
        return m_newTests ? columnCaptions().capMessNrKundenNr : columnCaptions().capKundenNr;
    return QIdentityProxyModel::headerData(section, orientation, role);
}
