#include "newtests/NewTestsGridModel.h"

#include "data/ColumnCaptions.h"
#include "statistics/TestTexts.h"

QString NewTestsGridModel::caption(int column) const
{
    return sourceModel() ? sourceModel()->headerData(column, Qt::Horizontal).toString()
                         : QString();
}

bool NewTestsGridModel::columnShown(const QString &caption)
{
    const ColumnCaptions &c = columnCaptions();
    const QStringList shown{c.capKundenNr, c.capPruefart, c.capBefund, c.capDatum,
                            c.capPruefer, c.capAuftraggeber, c.capFabNr, c.capBemerkung,
                            c.capZaehlerNr};
    return shown.contains(caption);
}

QVariant NewTestsGridModel::data(const QModelIndex &index, int role) const
{
    const QString column = caption(index.column());
    const ColumnCaptions &c = columnCaptions();
    if (role == Qt::TextAlignmentRole && column == c.capBefund)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole) {
        const QVariant stored = QIdentityProxyModel::data(index, Qt::DisplayRole);
        if (column == c.capBefund)
            return GridFindingText(stored);
        if (column == c.capPruefart)
            return GridTestKindText(stored);
    }
    return QIdentityProxyModel::data(index, role);
}

QVariant NewTestsGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole
        && caption(section) == columnCaptions().capKundenNr)
        return columnCaptions().capMessNrKundenNr;
    return QIdentityProxyModel::headerData(section, orientation, role);
}
