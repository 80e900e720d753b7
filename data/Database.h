#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <memory>

class UserRoster;
struct sqlite3;

// One connection to a database file: the program's dbConnection, an archive's connection.
//
// The file is SQLite, opened in shared mode: several connections and several programs may use
// it at once; writers wait up to busyTimeout for each other. Open connections are entered into
// the file's user roster. Statement texts are written in the program's dialect and pass through
// SqlDialect; values go in as bound parameters. Failures throw RuntimeErrorException with a
// description a user can act on (numbers in DatabaseError.h).
class Database
{
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // The connection description for a database file: engine, file and sharing mode.
    static QString BuildConnectionString(const QString &path);
    // The file named by a connection description.
    static QString dataSource(const QString &connectionString);

    // Opens the file of the connection description. Refuses a missing, empty, non-SQLite,
    // damaged or read-only file without writing anything to it.
    void open(const QString &connectionString);
    void close();
    bool isOpen() const;
    const QString &filePath() const { return m_filePath; }

    // Runs a statement that returns no rows; the number of rows it changed.
    int execute(const QString &statement, const QVariantList &parameters = {});
    // Runs a select; the query is positioned before its first row.
    QSqlQuery select(const QString &statement, const QVariantList &parameters = {},
                     bool forwardOnly = true);

    // One transaction level, as the program uses it.
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return m_inTransaction; }

    // Milliseconds a statement waits for another connection's write lock.
    void setBusyTimeout(int milliseconds);

    QSqlDatabase connection() const;
    // The engine's own handle of the open connection (nullptr when closed).
    sqlite3 *nativeHandle() const;
    // Writes a consistent copy of the open database to file through the engine's backup, also
    // while other connections read or hold the write lock without having written. Refuses an
    // existing file; a failed copy is removed.
    void backupTo(const QString &file);
    // The engine's check of the whole file; empty when it is sound.
    QString integrityProblems();
    [[noreturn]] void raise(const QSqlError &error) const;

private:
    QSqlQuery prepared(const QString &statement, const QVariantList &parameters,
                       bool forwardOnly);

    QString m_name;
    QString m_filePath;
    bool m_inTransaction = false;
    std::unique_ptr<UserRoster> m_roster;
};

// A transaction that rolls back unless committed; for code that raises through its scope.
class Transaction
{
public:
    explicit Transaction(Database &database);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_database;
    bool m_open = true;
};
