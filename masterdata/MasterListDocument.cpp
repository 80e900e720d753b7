#include "masterdata/MasterListDocument.h"

#include "data/Recordset.h"
#include "data/StringTable.h"

std::unique_ptr<ListDocument> MasterListDocument(Recordset &list, const QString &caption,
                                                 bool landscape)
{
    const std::unique_ptr<Recordset> all = list.clone();
    all->setSort(list.sort());
    QStringList headings;
    for (int field = 0; field < all->fieldCount(); ++field)
        headings << all->fieldName(field);
    QList<QStringList> rows;
    rows.reserve(all->recordCount());
    for (int row = 0; row < all->recordCount(); ++row) {
        QStringList cells;
        for (int field = 0; field < all->fieldCount(); ++field)
            cells << all->valueAt(row, field).toString();
        rows << cells;
    }
    PageSetup setup = ListDocument::listPageSetup();
    setup.landscape = landscape;
    setup.headerText = QStringLiteral("&L") + caption + QStringLiteral(" &R&D");
    setup.footerText = resString(25768) + QStringLiteral(" &C&P/&N");
    return std::make_unique<ListDocument>(headings, rows, setup);
}
