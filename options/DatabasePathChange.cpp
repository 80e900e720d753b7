#include "options/DatabasePathChange.h"

#include "data/Database.h"
#include "data/DatabaseSession.h"
#include "data/FileLocations.h"
#include "data/IniFile.h"
#include "data/ProgramDatabase.h"
#include "data/Schema.h"
#include "data/StringTable.h"
#include "options/OptionsQuestions.h"
#include "options/Rollback.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

namespace {

constexpr qint32 diskFull = 61;
constexpr qint32 fileAccessError = 75;
constexpr qint32 pathNotFound = 76;
const QString source = QStringLiteral("frmOptions");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool sameFolder(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    const QString canonicalB = QFileInfo(b).canonicalFilePath();
    if (!canonicalA.isEmpty() && !canonicalB.isEmpty())
        return canonicalA == canonicalB;
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

QString databaseIn(const QString &folder)
{
    return QDir(folder).filePath(QLatin1String(FileLocations::databaseFileName));
}

} // namespace

DatabasePathChange::DatabasePathChange(DatabaseSession &session, FileLocations &locations,
                                       IniFile &ini, OptionsQuestions &questions)
    : m_session(session)
    , m_locations(locations)
    , m_ini(ini)
    , m_questions(questions)
{}

QString DatabasePathChange::backupName(const QString &folder, const QDateTime &when)
{
    QString stamp = when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    stamp.replace(u':', u'_').replace(u'.', u'_');
    const QString base = QDir(folder).filePath(QLatin1String(FileLocations::programName) + u' '
                                               + stamp);
    QString name = base + QStringLiteral(".db");
    for (int number = 2; QFileInfo::exists(name); ++number)
        name = base + QStringLiteral("_%1.db").arg(number);
    return name;
}

QString DatabasePathChange::changeQuestion(const QString &target) const
{
    return resString(25581) + u'"' + QLatin1String(FileLocations::databaseFileName)
           + QStringLiteral("\" ") + resString(25630) + QStringLiteral("\n\n")
           + native(m_locations.dbFolder) + QStringLiteral("\n\n") + resString(25582)
           + QStringLiteral("\n\n") + native(target) + resString(25583);
}

void DatabasePathChange::checkFolder(const QString &folder) const
{
    const QFileInfo info(folder);
    if (!info.exists())
        throw RuntimeErrorException(pathNotFound, source, resString(25631).arg(native(folder)));
    if (!info.isDir())
        throw RuntimeErrorException(pathNotFound, source, resString(25632).arg(native(folder)));
    // Asking the file system is the only reliable test (access lists, read-only mounts).
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".lumetra4-XXXXXX")));
    if (!probe.open())
        throw RuntimeErrorException(fileAccessError, source,
                                    resString(25633).arg(native(folder)));
}

DatabasePathChange::Outcome DatabasePathChange::run(const QString &newFolder)
{
    const QString target = QDir::cleanPath(newFolder);
    if (target.isEmpty() || sameFolder(target, m_locations.dbFolder))
        return Outcome::NotChanged;
    const QString oldFile = m_locations.dbFile;
    Rollback rollback;
    try {
        checkFolder(target);
        if (!m_questions.ask(changeQuestion(target)))
            return Outcome::NotChanged;
        const Outcome outcome = change(target, rollback);
        rollback.dismiss();
        return outcome;
    } catch (const RuntimeErrorException &e) {
        rollback.run();
        recover(oldFile);
        m_questions.fail(e.error());
        return Outcome::NotChanged;
    }
}

DatabasePathChange::Outcome DatabasePathChange::change(const QString &target, Rollback &rollback)
{
    const QString oldFile = m_locations.dbFile;
    const QString targetFile = databaseIn(target);
    if (!QFileInfo::exists(targetFile)) {
        const QString copy = stageCopy(target, rollback);
        rename(copy, targetFile, rollback);
        switchTo(target, oldFile, rollback);
        return Outcome::Changed;
    }

    QString otherComputer;
    {
        // Only to read its roster; closed before anything happens to the file.
        Database probe;
        probe.open(Database::BuildConnectionString(targetFile));
        otherComputer = otherComputerHolding(probe);
    }
    if (!otherComputer.isEmpty()) {
        if (!m_questions.ask(resString(25584) + u'\n' + resString(25585) + otherComputer
                             + resString(25586) + u'\n' + resString(25587))) {
            m_questions.inform(resString(25592));
            return Outcome::NotChanged;
        }
        pointSettingsAt(target, rollback);
        m_session.close();
        rename(oldFile, backupName(QFileInfo(oldFile).path(), m_clock()), rollback);
        m_questions.inform(resString(25588));
        m_questions.inform(otherComputerMessage(otherComputer));
        return Outcome::EndProgram;
    }

    if (!m_questions.ask(resString(25584) + u'\n' + resString(25587))) {
        // Replace the database there with the working one; it stays there as a backup.
        const QString copy = stageCopy(target, rollback);
        rename(targetFile, backupName(target, m_clock()), rollback);
        rename(copy, targetFile, rollback);
    }
    switchTo(target, oldFile, rollback);
    return Outcome::Changed;
}

QString DatabasePathChange::stageCopy(const QString &target, Rollback &rollback)
{
    const QString copy = databaseIn(target) + QStringLiteral(".part");
    QFile::remove(copy); // left by an earlier change that was cut short
    const qint64 needed = QFileInfo(m_locations.dbFile).size();
    const QStorageInfo storage(target);
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < needed) {
        throw RuntimeErrorException(diskFull, source,
                                    resString(25636).arg(native(target)).arg(
                                        (needed + 1048575) / 1048576));
    }
    rollback.add([copy] { QFile::remove(copy); });
    // A consistent copy also while other programs on this computer use the database.
    m_session.dbConnection.backupTo(copy);
    return copy;
}

void DatabasePathChange::rename(const QString &from, const QString &to, Rollback &rollback)
{
    QFile file(from);
    if (!file.rename(to)) {
        throw RuntimeErrorException(fileAccessError, source,
                                    resString(25635).arg(native(from), native(to),
                                                         file.errorString()));
    }
    rollback.add([from, to] { QFile::rename(to, from); });
}

void DatabasePathChange::pointSettingsAt(const QString &folder, Rollback &rollback)
{
    const QString oldFolder = m_locations.dbFolder;
    if (!m_ini.write(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), folder))
        throw RuntimeErrorException(fileAccessError, source,
                                    resString(25637).arg(m_ini.lastError()));
    m_locations.setDbFolder(folder);
    rollback.add([this, oldFolder] {
        m_ini.write(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), oldFolder);
        m_locations.setDbFolder(oldFolder);
    });
}

void DatabasePathChange::switchTo(const QString &target, const QString &oldFile,
                                  Rollback &rollback)
{
    pointSettingsAt(target, rollback);
    m_session.close();
    rename(oldFile, backupName(QFileInfo(oldFile).path(), m_clock()), rollback);
    reopen(m_locations.dbFile);
    m_questions.inform(resString(25588));
}

void DatabasePathChange::reopen(const QString &file)
{
    m_session.close();
    m_session.dbConnection.open(Database::BuildConnectionString(file));
    CheckDatabaseVersion(m_session);
}

void DatabasePathChange::recover(const QString &oldFile)
{
    if (m_session.dbConnection.isOpen() && m_session.dbConnection.filePath() == oldFile
        && m_session.rsKunden)
        return;
    try {
        reopen(oldFile);
    } catch (const RuntimeErrorException &e) {
        m_questions.fail(e.error());
    }
}
