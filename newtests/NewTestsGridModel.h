#pragma once

#include <QIdentityProxyModel>

// The new tests grid's view of the tests list: findings and test kinds as text, the customer
// number column headed "Mess-Nr (M) / Kunden-Nr", the finding centred.
class NewTestsGridModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The columns the grid shows, by caption; the others are hidden.
    static bool columnShown(const QString &caption);

private:
    QString caption(int column) const;
};
