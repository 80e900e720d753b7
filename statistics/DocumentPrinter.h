#pragma once

#include <QString>

class PagedDocument;
class QPagedPaintDevice;

// Prints a paged document onto a paged device (a printer or a PDF writer), or into a PDF file
// that appears only when it is complete.
class DocumentPrinter
{
public:
    // Prints every page; false with a message when the device cannot be painted on.
    static bool print(const PagedDocument &document, QPagedPaintDevice &device,
                      QString *error = nullptr);
    // Writes a PDF file: into a temporary file beside it, renamed over `path` on success, so
    // a failed run leaves no partial file and keeps an older file of that name.
    static bool writePdf(const PagedDocument &document, const QString &path,
                         QString *error = nullptr, const QString &title = QString());
};
