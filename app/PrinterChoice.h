#pragma once

#include <QString>

class QPrinter;

// The printer the user chose for this run. Printing goes to it without ever changing the
// desktop's default printer; an empty or unknown name keeps the default.
class PrinterChoice
{
public:
    // Chooses printerName when such a printer exists; returns whether it was taken.
    static bool SetDefaultPrinter(const QString &printerName);
    static QString chosenPrinter();
    // Directs printer to the chosen printer (PDF output is left alone).
    static void apply(QPrinter &printer);
};
