#include "statistics/ProtocolPrinting.h"

#include "app/PrinterChoice.h"
#include "data/DatabaseError.h"
#include "data/ErrorReport.h"
#include "data/StringTable.h"
#include "app/PrintDialog.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/ProtocolBatch.h"
#include "statistics/ProtocolBuilder.h"

#include <QApplication>
#include <QPrinter>

bool PrintProtocols(QWidget *parent, ProtocolBuilder &builder, const QList<ProtocolTest> &tests)
{
    if (tests.isEmpty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    PrinterChoice::apply(printer);
    printer.setDocName(resString(564));
    if (!PrintDialog::instance().choose(parent, printer))
        return false;
    // The copies are made page by page below; the printer makes one of each.
    const int copies = qMax(1, printer.copyCount());
    printer.setCopyCount(1);
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    bool printed = false;
    try {
        const ProtocolBatch batch(builder, tests, copies, landscape);
        printed = batch.protocolCount() > 0 && DocumentPrinter::print(batch, printer, &error);
    } catch (const RuntimeErrorException &e) {
        QApplication::restoreOverrideCursor();
        ErrorReport::ShowError(e.error());
        return false;
    }
    QApplication::restoreOverrideCursor();
    if (!printed && !error.isEmpty())
        ErrorReport::ShowError({DatabaseError::General, QStringLiteral("PrintProtocols"), error});
    return printed;
}
