#pragma once

#include "statistics/ColumnFormat.h"

#include <QIdentityProxyModel>

// The statistics tests grid's view of the tests list: coded columns as text (findings, test
// kinds, values not measured), the customer number headed by the data base's caption, measured
// values and findings centred. The stored values stay as they are.
class StatisticsGridModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    void setNewTests(bool newTests);

    // The display format of a column of the tests list, by its caption.
    static ColumnFormat formatOf(const QString &caption);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString caption(int column) const;

    bool m_newTests = true;
};
