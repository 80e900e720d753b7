#pragma once

#include <QAbstractTableModel>
#include <QPointer>

class Recordset;

// The rows a recordset shows, as a table for the grids: one column per field, headed by the
// field's name (the localised caption). Follows the recordset's filter, order and requeries.
// Read-only: windows change rows through the recordset.
class RecordsetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RecordsetModel(Recordset *recordset, QObject *parent = nullptr);

    Recordset *recordset() const { return m_recordset; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QPointer<Recordset> m_recordset;
};
