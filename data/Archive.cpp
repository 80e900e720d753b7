#include "data/Archive.h"

#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"
#include "data/Schema.h"
#include "data/SelectLists.h"
#include "data/StringTable.h"
#include "data/UserRoster.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <cstdio>
#include <unistd.h>

namespace {

const QString source = QStringLiteral("Archive");

int count(Database &database, const QString &table)
{
    QSqlQuery query = database.select(QStringLiteral("SELECT count(*) FROM [%1]").arg(table));
    return query.next() ? query.value(0).toInt() : 0;
}

[[noreturn]] void fail(const QString &description)
{
    throw DatabaseError::make(DatabaseError::General, source, description);
}

} // namespace

QString Archive::folder(const QString &homeFolder, const QString &archiveBaseFolder)
{
    const QString base = archiveBaseFolder.isEmpty() ? homeFolder : archiveBaseFolder;
    return QDir::cleanPath(base + QStringLiteral("/Archiv")) + u'/';
}

QString Archive::defaultName(const QDate &date)
{
    return QStringLiteral("Archiv vom ") + date.toString(QStringLiteral("dd_MM_yy"));
}

int Archive::newTestCount(DatabaseSession &session)
{
    QSqlQuery query = session.dbConnection.select(
        QStringLiteral("SELECT count(*) FROM Pruefungen WHERE PFG_NeuePruefung <> 0"));
    return query.next() ? query.value(0).toInt() : 0;
}

Archive::Result Archive::archiveTests(DatabaseSession &session, const QString &archiveFile)
{
    Database &working = session.dbConnection;
    Result result;
    if (!QDir().mkpath(QFileInfo(archiveFile).absolutePath()))
        fail(resString(26176).arg(archiveFile, resString(26180)));
    if (QFileInfo::exists(archiveFile))
        throw DatabaseError::make(DatabaseError::AlreadyExists, source,
                                  resString(26177).arg(archiveFile));
    // The archive is made and checked under a name of its own and gets its real name only
    // when complete, so an interrupted run never leaves something that looks like an archive.
    const QString partial = archiveFile + QStringLiteral(".part");
    const auto discardPartial = [&partial] {
        QFile::remove(partial);
        QFile::remove(UserRoster::rosterFile(partial));
    };
    discardPartial(); // left over from an interrupted run
    // The working connection takes the write lock first, so no other program adds or removes
    // tests until they are deleted here; a second connection reads the copy meanwhile.
    Transaction hold(working);
    const int tests = count(working, QStringLiteral("Pruefungen"));
    try {
        {
            Database reader;
            reader.open(Database::BuildConnectionString(working.filePath()));
            reader.backupTo(partial);
        }
        {
            Database archive;
            archive.open(Database::BuildConnectionString(partial));
            Transaction reduce(archive);
            archive.execute(SqlDeleteKundenOhnePruefung());
            archive.execute(SqlDropAuftraggeber());
            archive.execute(SqlDropPruefer());
            reduce.commit();
            const QString problems = archive.integrityProblems();
            result.tests = count(archive, QStringLiteral("Pruefungen"));
            result.customers = count(archive, QStringLiteral("Kunden"));
            if (!problems.isEmpty() || result.tests != tests)
                fail(resString(26181).arg(archiveFile));
        }
        // link() refuses a name that appeared meanwhile: an archive is never overwritten.
        if (::link(QFile::encodeName(partial).constData(),
                   QFile::encodeName(archiveFile).constData())
            != 0) {
            throw DatabaseError::make(DatabaseError::AlreadyExists, source,
                                      resString(26177).arg(archiveFile));
        }
    } catch (const RuntimeErrorException &) {
        discardPartial();
        throw;
    }
    discardPartial();
    working.execute(SqlDeletePruefungen());
    hold.commit();
    session.RequeryRecordsets();
    return result;
}

QString Archive::compactionTarget(const QString &dbFile)
{
    const QFileInfo info(dbFile);
    return info.absolutePath() + u'/' + info.completeBaseName() + QStringLiteral("neu")
           + (info.suffix().isEmpty() ? QString() : u'.' + info.suffix());
}

void Archive::RepairCompactDatabase(DatabaseSession &session, const QString &dbFile)
{
    // Another program working on the file would go on writing into the replaced one.
    if (UserRoster::entries(dbFile).size() > 1)
        fail(resString(26182).arg(dbFile));
    const QString target = compactionTarget(dbFile);
    QFile::remove(target); // left over from an interrupted run
    session.dbConnection.execute(QStringLiteral("VACUUM INTO ?"), {target});
    {
        Database check;
        check.open(Database::BuildConnectionString(target));
        const QString problems = check.integrityProblems();
        if (!problems.isEmpty()) {
            check.close();
            QFile::remove(target);
            fail(resString(26020) + u'\n' + problems);
        }
    }
    QFile::remove(UserRoster::rosterFile(target)); // the check's connection has ended
    QFile::setPermissions(target, QFile::permissions(dbFile));
    session.close();
    // rename() replaces the file in one step: at every moment one complete database is there.
    if (std::rename(QFile::encodeName(target).constData(), QFile::encodeName(dbFile).constData())
        != 0) {
        QFile::remove(target);
        session.dbConnection.open(Database::BuildConnectionString(dbFile));
        CheckDatabaseVersion(session);
        fail(resString(26020) + u'\n' + dbFile);
    }
    session.dbConnection.open(Database::BuildConnectionString(dbFile));
    CheckDatabaseVersion(session);
}
