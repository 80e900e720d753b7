#pragma once

#include <QString>

#include <functional>
#include <memory>

class ListDocument;
class QWidget;

// Prints a list through the print dialog (a printer or a PDF file). build() makes the document
// for the orientation the user chose. The chosen printer serves this run; the desktop's
// default printer stays as it is. A failure is reported. Returns whether the list was printed.
bool PrintList(QWidget *parent, const QString &documentName,
               const std::function<std::unique_ptr<ListDocument>(bool landscape)> &build);
