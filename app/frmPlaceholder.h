#pragma once

#include "app/ChildWindow.h"

// Stands in for a working window that this version does not have yet, and says so.
class frmPlaceholder : public ChildWindow
{
    Q_OBJECT
public:
    frmPlaceholder(WindowKind kind, const QString &title, QWidget *parent = nullptr);
    ToolbarState toolbarState() const override;
};
