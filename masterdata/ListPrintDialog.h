#pragma once

class QPrinter;
class QWidget;

// The printer dialog before a list is printed: printer (or a PDF file), copies and
// orientation go into printer. Tests install their own answer instead of a modal dialog.
class ListPrintDialog
{
public:
    virtual ~ListPrintDialog() = default;
    // False when the user cancelled: nothing is printed.
    virtual bool choose(QWidget *parent, QPrinter &printer) = 0;

    // The dialog of this process; Qt's print dialog unless replaced.
    static ListPrintDialog &instance();
    // Replaces the dialog (not owned); nullptr restores Qt's.
    static void install(ListPrintDialog *dialog);
};
