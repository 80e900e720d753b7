#include "statistics/DocumentPrinter.h"

#include "statistics/PageContext.h"
#include "statistics/PagedDocument.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

bool DocumentPrinter::print(const PagedDocument &document, QPagedPaintDevice &device,
                            QString *error)
{
    const PageSetup setup = document.pageSetup();
    device.setPageLayout(setup.pageLayout());
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("the printer or file cannot be painted on");
        return false;
    }
    const QRectF paper = device.pageLayout().fullRectPixels(device.logicalDpiX());
    PageContext context;
    context.pages = document.pageCount();
    for (int index = 0; index < context.pages; ++index) {
        if (index > 0 && !device.newPage()) {
            if (error)
                *error = QStringLiteral("page %1 could not be started").arg(index + 1);
            painter.end();
            return false;
        }
        context.page = index + 1;
        document.paintPage(painter, paper, index, context);
    }
    return painter.end();
}

bool DocumentPrinter::writePdf(const PagedDocument &document, const QString &path,
                               QString *error, const QString &title)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Lumetra 4 Desktop"));
        writer.setTitle(title);
        QString printError;
        if (!print(document, writer, &printError)) {
            file.cancelWriting();
            if (error)
                *error = QStringLiteral("%1: %2").arg(path, printError);
            return false;
        }
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
