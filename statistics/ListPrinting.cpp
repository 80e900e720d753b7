#include "statistics/ListPrinting.h"

#include "app/PrintDialog.h"
#include "app/PrinterChoice.h"
#include "data/DatabaseError.h"
#include "data/ErrorReport.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/ListDocument.h"

#include <QApplication>
#include <QPrinter>

bool PrintList(QWidget *parent, const QString &documentName,
               const std::function<std::unique_ptr<ListDocument>(bool landscape)> &build)
{
    QPrinter printer(QPrinter::HighResolution);
    PrinterChoice::apply(printer);
    printer.setDocName(documentName);
    printer.setPageLayout(ListDocument::listPageSetup().pageLayout());
    if (!PrintDialog::instance().choose(parent, printer))
        return false;
    if (printer.outputFormat() == QPrinter::NativeFormat)
        PrinterChoice::SetDefaultPrinter(printer.printerName());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    const std::unique_ptr<ListDocument> document = build(landscape);
    QString error;
    const bool printed = DocumentPrinter::print(*document, printer, &error);
    QApplication::restoreOverrideCursor();
    if (!printed)
        ErrorReport::ShowError({DatabaseError::General, QStringLiteral("PrintList"), error});
    return printed;
}
