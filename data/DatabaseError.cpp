#include "data/DatabaseError.h"
#include "data/StringTable.h"

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
                    resString(26173).arg(filePath));
    case 8: // SQLITE_READONLY
        return make(ReadOnly, source,
                    resString(26174).arg(filePath));
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return make(NotADatabase, source,
                    resString(26175).arg(filePath, detail));
    default:
        return make(General, source, detail);
    }
}

} // namespace DatabaseError
