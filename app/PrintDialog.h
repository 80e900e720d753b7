#pragma once

class QPrinter;
class QWidget;

// The printer dialog before a list or protocols are printed: printer (or a PDF file), copies and
// orientation go into printer. Tests install their own answer instead of a modal dialog.
class PrintDialog
{
public:
    virtual ~PrintDialog() = default;
    // False when the user cancelled: nothing is printed.
    virtual bool choose(QWidget *parent, QPrinter &printer) = 0;

    // The dialog of this process; Qt's print dialog unless replaced.
    static PrintDialog &instance();
    // Replaces the dialog (not owned); nullptr restores Qt's.
    static void install(PrintDialog *dialog);
};
