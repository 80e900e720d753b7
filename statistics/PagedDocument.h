#pragma once

#include "statistics/PageSetup.h"

#include <QRectF>

class QPainter;
struct PageContext;

// Something printable page by page: a filled protocol template or a list. One paint routine per
// page serves the preview, the printer and PDF files alike.
class PagedDocument
{
public:
    virtual ~PagedDocument() = default;

    virtual PageSetup pageSetup() const = 0;
    virtual int pageCount() const = 0;
    // Paints page `index` (from 0) into `paper`, the whole sheet in the painter's coordinates.
    virtual void paintPage(QPainter &painter, const QRectF &paper, int index,
                           const PageContext &context) const = 0;

protected:
    // Maps the painter to page units (tenths of a point) with the sheet's corner at 0, 0.
    void beginPage(QPainter &painter, const QRectF &paper) const;
};
