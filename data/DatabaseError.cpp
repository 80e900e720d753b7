#include "data/DatabaseError.h"

#include <QSqlError>

namespace DatabaseError {

RuntimeErrorException make(Number number, const QString &source, const QString &description)
{
    return RuntimeErrorException(number, source, description);
}

RuntimeErrorException fromSql(const QSqlError &error, const QString &source,
                              const QString &filePath)
{
    // SQLite's primary result codes sit in the low byte of the extended code.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return make(Locked, source,
                    QStringLiteral("The database '%1' is locked by another program. Nothing was "
                                   "changed; try again when the other program has finished.")
                        .arg(filePath));
    case 8: // SQLITE_READONLY
        return make(ReadOnly, source,
                    QStringLiteral("The database '%1' is read-only. Nothing was changed.")
                        .arg(filePath));
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return make(NotADatabase, source,
                    QStringLiteral("The file '%1' is damaged or is not a database (%2).")
                        .arg(filePath, detail));
    default:
        return make(General, source, detail);
    }
}

} // namespace DatabaseError
