#include "data/RecordsetModel.h"

#include "data/Recordset.h"

RecordsetModel::RecordsetModel(Recordset *recordset, QObject *parent)
    : QAbstractTableModel(parent), m_recordset(recordset)
{
    connect(recordset, &Recordset::reset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(recordset, &Recordset::rowChanged, this, [this](int position) {
        emit dataChanged(index(position, 0), index(position, columnCount() - 1));
    });
    connect(recordset, &QObject::destroyed, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_recordset || !m_recordset->isOpen())
        return 0;
    return m_recordset->recordCount();
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_recordset || !m_recordset->isOpen())
        return 0;
    return m_recordset->fieldCount();
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)
        || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    return m_recordset->valueAt(index.row(), index.column());
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_recordset->fieldName(section);
}
