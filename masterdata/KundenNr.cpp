#include "masterdata/KundenNr.h"

#include "data/Recordset.h"

namespace {

constexpr qsizetype storedDigits = 6;

} // namespace

QString FormatKundenNr(const QString &typed)
{
    return typed.trimmed().rightJustified(storedDigits, u'0');
}

bool KundenNrExists(Recordset &list, const QString &numberField, const QString &number)
{
    // A clone of its own shows every row: the list itself may be filtered by a search.
    const std::unique_ptr<Recordset> all = list.clone();
    const int field = all->fieldIndex(numberField);
    for (int row = 0; row < all->recordCount(); ++row) {
        if (all->valueAt(row, field).toString().compare(number, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
