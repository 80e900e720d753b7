#pragma once

#include "data/RuntimeError.h"

class QSqlError;

// Error numbers the database layer raises. They follow the numbers the original desktop engine
// used, so handlers that answer a condition by number (3001 for a filter text) keep working.
namespace DatabaseError {

enum Number : qint32 {
    General = 3000,
    InvalidArgument = 3001,     // a filter or sort text that does not parse
    FileNotFound = 3024,
    ReadOnly = 3051,
    NotADatabase = 3343,
    Locked = 3260,
    ItemNotFound = 3265,        // no field of that name
    NoCurrentRecord = 3021,
    NotUpdatable = 3027,        // a read-only list or a computed column
    RowNotFound = 3197,         // the row changed or vanished since it was read
    NewerVersion = 3447,
    AlreadyExists = 3204,
    TransactionState = 3034,
};

// The exception for a failed statement, with a description a user can act on.
RuntimeErrorException fromSql(const QSqlError &error, const QString &source,
                              const QString &filePath);
RuntimeErrorException make(Number number, const QString &source, const QString &description);

} // namespace DatabaseError
