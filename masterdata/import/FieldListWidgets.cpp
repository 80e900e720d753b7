#include "masterdata/import/FieldListWidgets.h"

#include <QDragEnterEvent>
#include <QMimeData>

namespace {

const QString destinationEntryType = QStringLiteral("application/x-lumetra4-destination-entry");

void setUp(QTreeWidget *list)
{
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setDragEnabled(true);
    list->setAcceptDrops(true);
    list->setDropIndicatorShown(true);
    list->setDragDropMode(QAbstractItemView::DragDrop);
    list->setDefaultDropAction(Qt::CopyAction);
}

} // namespace

SourceFieldList::SourceFieldList(QWidget *parent)
    : QTreeWidget(parent)
{
    setUp(this);
}

QStringList SourceFieldList::mimeTypes() const
{
    return {destinationEntryType};
}

QMimeData *SourceFieldList::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    auto *data = new QMimeData;
    data->setText(items.isEmpty() ? QString() : items.first()->text(0));
    return data;
}

void SourceFieldList::dragEnterEvent(QDragEnterEvent *event)
{
    event->setAccepted(event->mimeData()->hasFormat(destinationEntryType));
}

void SourceFieldList::dragMoveEvent(QDragMoveEvent *event)
{
    event->setAccepted(event->mimeData()->hasFormat(destinationEntryType));
}

void SourceFieldList::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasFormat(destinationEntryType))
        return;
    event->acceptProposedAction();
    emit mappingRemoved();
}

DestinationFieldList::DestinationFieldList(QWidget *parent)
    : QTreeWidget(parent)
{
    setUp(this);
}

QStringList DestinationFieldList::mimeTypes() const
{
    return {QStringLiteral("text/plain")};
}

QMimeData *DestinationFieldList::mimeData(const QList<QTreeWidgetItem *> &) const
{
    auto *data = new QMimeData;
    data->setData(destinationEntryType, {});
    return data;
}

void DestinationFieldList::dragEnterEvent(QDragEnterEvent *event)
{
    event->setAccepted(event->mimeData()->hasText() && event->source() != this);
}

void DestinationFieldList::dragMoveEvent(QDragMoveEvent *event)
{
    QTreeWidgetItem *target = itemAt(event->position().toPoint());
    setCurrentItem(target); // the entry under the mouse shows as the drop target
    event->setAccepted(target && event->mimeData()->hasText() && event->source() != this);
}

void DestinationFieldList::dropEvent(QDropEvent *event)
{
    QTreeWidgetItem *target = itemAt(event->position().toPoint());
    if (target)
        setCurrentItem(target);
    if (!target || event->source() == this || !event->mimeData()->hasText())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit fieldDropped(indexOfTopLevelItem(target), event->mimeData()->text());
}
