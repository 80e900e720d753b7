#include "data/Database.h"

#include "data/DatabaseError.h"
#include "data/StringTable.h"
#include "data/SqlDialect.h"
#include "data/UserRoster.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace {

const QString source = QStringLiteral("Database");
const QString dataSourceKey = QStringLiteral("Data Source=");
constexpr int defaultBusyTimeout = 5000;
constexpr int backupRetryMs = 50;

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("lumetra4-%1").arg(counter.fetchAndAddRelaxed(1));
}

bool hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3", 16);
}

} // namespace

Database::Database() = default;

Database::~Database()
{
    close();
}

QString Database::BuildConnectionString(const QString &path)
{
    return QStringLiteral("Provider=SQLite;") + dataSourceKey + path
           + QStringLiteral(";Mode=Share Deny None");
}

QString Database::dataSource(const QString &connectionString)
{
    const qsizetype start = connectionString.indexOf(dataSourceKey);
    if (start < 0)
        return {};
    const qsizetype from = start + dataSourceKey.size();
    const qsizetype end = connectionString.indexOf(QStringLiteral(";Mode="), from);
    return connectionString.mid(from, end < 0 ? -1 : end - from);
}

void Database::open(const QString &connectionString)
{
    close();
    const QString path = dataSource(connectionString);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        throw DatabaseError::make(DatabaseError::FileNotFound, source,
                                  resString(26170).arg(path));
    }
    if (info.size() == 0 || !hasSqliteHeader(path)) {
        throw DatabaseError::make(DatabaseError::NotADatabase, source,
                                  resString(26171).arg(path));
    }
    if (!info.isWritable() || !QFileInfo(info.absolutePath()).isWritable()) {
        throw DatabaseError::make(DatabaseError::ReadOnly, source,
                                  resString(26172).arg(path));
    }
    const QString name = uniqueConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(defaultBusyTimeout));
        if (!db.open()) {
            const QSqlError error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw DatabaseError::fromSql(error, source, path);
        }
    }
    m_name = name;
    m_filePath = path;
    try {
        // Reading the catalogue makes SQLite check the header beyond its magic text.
        select(QStringLiteral("SELECT count(*) FROM sqlite_master")).next();
        // SQLite's rollback journal, not WAL: firms keep the database on a network share,
        // where WAL's shared-memory index is not supported. A commit returns only when it
        // is on the disk.
        execute(QStringLiteral("PRAGMA synchronous = FULL"));
        m_roster = std::make_unique<UserRoster>(path);
    } catch (...) {
        close();
        throw;
    }
}

void Database::close()
{
    if (m_name.isEmpty())
        return;
    m_roster.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_inTransaction)
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
    m_inTransaction = false;
}

bool Database::isOpen() const
{
    return !m_name.isEmpty();
}

QSqlDatabase Database::connection() const
{
    if (m_name.isEmpty()) {
        throw DatabaseError::make(DatabaseError::General, source,
                                  QStringLiteral("The database connection is closed."));
    }
    return QSqlDatabase::database(m_name, false);
}

void Database::raise(const QSqlError &error) const
{
    throw DatabaseError::fromSql(error, source, m_filePath);
}

QSqlQuery Database::prepared(const QString &statement, const QVariantList &parameters,
                             bool forwardOnly)
{
    QSqlQuery query(connection());
    query.setForwardOnly(forwardOnly);
    if (!query.prepare(SqlDialect::translate(statement)))
        raise(query.lastError());
    for (const QVariant &parameter : parameters)
        query.addBindValue(SqlDialect::toStorage(parameter));
    if (!query.exec())
        raise(query.lastError());
    return query;
}

int Database::execute(const QString &statement, const QVariantList &parameters)
{
    return prepared(statement, parameters, true).numRowsAffected();
}

QSqlQuery Database::select(const QString &statement, const QVariantList &parameters,
                           bool forwardOnly)
{
    return prepared(statement, parameters, forwardOnly);
}

void Database::beginTrans()
{
    if (m_inTransaction) {
        throw DatabaseError::make(DatabaseError::TransactionState, source,
                                  QStringLiteral("A transaction is already open."));
    }
    // Take the write lock now, so a conflict shows at the start and not half-way through.
    execute(QStringLiteral("BEGIN IMMEDIATE"));
    m_inTransaction = true;
}

void Database::commitTrans()
{
    if (!m_inTransaction) {
        throw DatabaseError::make(DatabaseError::TransactionState, source,
                                  QStringLiteral("Commit without an open transaction."));
    }
    execute(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Database::rollbackTrans()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    execute(QStringLiteral("ROLLBACK"));
}

void Database::setBusyTimeout(int milliseconds)
{
    execute(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds));
}

Transaction::Transaction(Database &database)
    : m_database(database)
{
    m_database.beginTrans();
}

Transaction::~Transaction()
{
    if (m_open) {
        try {
            m_database.rollbackTrans();
        } catch (const RuntimeErrorException &) {
            // The connection is gone; SQLite has dropped the transaction with it.
        }
    }
}

void Transaction::commit()
{
    m_database.commitTrans();
    m_open = false;
}

sqlite3 *Database::nativeHandle() const
{
    if (!isOpen())
        return nullptr;
    const QVariant handle = connection().driver()->handle();
    return handle.isValid() ? *static_cast<sqlite3 *const *>(handle.data()) : nullptr;
}

void Database::backupTo(const QString &file)
{
    sqlite3 *sourceHandle = nativeHandle();
    if (!sourceHandle) {
        throw DatabaseError::make(DatabaseError::General, source,
                                  QStringLiteral("The database connection is closed."));
    }
    if (QFileInfo::exists(file))
        throw DatabaseError::make(DatabaseError::AlreadyExists, source, resString(26177).arg(file));
    sqlite3 *target = nullptr;
    int result = sqlite3_open_v2(QFile::encodeName(file).constData(), &target,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE,
                                 nullptr);
    if (result == SQLITE_OK) {
        sqlite3_backup *backup = sqlite3_backup_init(target, "main", sourceHandle, "main");
        if (!backup) {
            result = sqlite3_errcode(target);
        } else {
            // Copies in one step; a writer holding the file makes it wait, up to the busy time.
            int waited = 0;
            do {
                result = sqlite3_backup_step(backup, -1);
                if (result == SQLITE_BUSY || result == SQLITE_LOCKED) {
                    sqlite3_sleep(backupRetryMs);
                    waited += backupRetryMs;
                }
            } while (result == SQLITE_OK
                     || ((result == SQLITE_BUSY || result == SQLITE_LOCKED)
                         && waited < defaultBusyTimeout));
            const int finished = sqlite3_backup_finish(backup);
            result = result == SQLITE_DONE ? finished : result;
        }
    }
    const QString detail = QString::fromUtf8(sqlite3_errmsg(target));
    sqlite3_close(target);
    if (result != SQLITE_OK) {
        QFile::remove(file);
        throw DatabaseError::make(DatabaseError::General, source,
                                  resString(26176).arg(file, detail));
    }
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

QString Database::integrityProblems()
{
    QSqlQuery query = select(QStringLiteral("PRAGMA integrity_check"));
    QStringList problems;
    while (query.next()) {
        const QString line = query.value(0).toString();
        if (line != QLatin1String("ok"))
            problems << line;
    }
    return problems.join(u'\n');
}
