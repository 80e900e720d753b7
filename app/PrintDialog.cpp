#include "app/PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

class QtPrintDialog : public PrintDialog
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

PrintDialog *installed = nullptr;

} // namespace

PrintDialog &PrintDialog::instance()
{
    static QtPrintDialog qtDialog;
    return installed ? *installed : qtDialog;
}

void PrintDialog::install(PrintDialog *dialog)
{
    installed = dialog;
}
