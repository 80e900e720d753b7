#pragma once

#include <QTreeWidget>

// The two lists of the mapping page. Source fields are dragged as their name (copy) onto a
// destination entry; a destination entry dragged back onto the source list loses its mapping.
class SourceFieldList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit SourceFieldList(QWidget *parent = nullptr);

signals:
    // A destination entry was dropped here.
    void mappingRemoved();

protected:
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    QStringList mimeTypes() const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

class DestinationFieldList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DestinationFieldList(QWidget *parent = nullptr);

signals:
    // A source field was dropped onto the entry of that row.
    void fieldDropped(int entry, const QString &field);

protected:
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    QStringList mimeTypes() const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
