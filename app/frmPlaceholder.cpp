#include "app/frmPlaceholder.h"

#include "data/StringTable.h"

#include <QLabel>
#include <QVBoxLayout>

frmPlaceholder::frmPlaceholder(WindowKind kind, const QString &title, QWidget *parent)
    : ChildWindow(kind, parent)
{
    setWindowTitle(QString(title).remove(u'&'));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(resString(26190), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(480, 240);
}

ToolbarState frmPlaceholder::toolbarState() const
{
    ToolbarState state;
    state.Ende = true;
    return state;
}
