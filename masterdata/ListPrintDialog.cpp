#include "masterdata/ListPrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

class QtPrintDialog : public ListPrintDialog
{
public:
    bool choose(QWidget *parent, QPrinter &printer) override
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        return dialog.exec() == QDialog::Accepted;
    }
};

ListPrintDialog *installed = nullptr;

} // namespace

ListPrintDialog &ListPrintDialog::instance()
{
    static QtPrintDialog qtDialog;
    return installed ? *installed : qtDialog;
}

void ListPrintDialog::install(ListPrintDialog *dialog)
{
    installed = dialog;
}
