#include "app/PrinterChoice.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {
QString chosen;
}

bool PrinterChoice::SetDefaultPrinter(const QString &printerName)
{
    if (printerName.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(printerName))
        return false;
    chosen = printerName;
    return true;
}

QString PrinterChoice::chosenPrinter()
{
    return chosen;
}

void PrinterChoice::apply(QPrinter &printer)
{
    if (!chosen.isEmpty() && printer.outputFormat() == QPrinter::NativeFormat)
        printer.setPrinterName(chosen);
}
