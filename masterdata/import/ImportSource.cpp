#include "masterdata/import/ImportSource.h"

#include "data/RuntimeError.h"
#include "data/StringTable.h"

#include <QDir>

void ImportSource::fail(const QString &reason, int row) const
{
    QString detail = reason;
    if (row > 0)
        detail = resString(25332).arg(row) + QStringLiteral(": ") + reason;
    throw RuntimeErrorException(unreadableError, QStringLiteral("Import"),
                                resString(25331).arg(QDir::toNativeSeparators(m_filePath),
                                                     detail));
}
