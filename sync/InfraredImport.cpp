#include "InfraredImport.h"

#include "data/ErrorReport.h"
#include "data/StringTable.h"
#include "sync/InfraredFileReader.h"
#include "sync/InfraredFolder.h"
#include "sync/TestStore.h"

#include <QDir>
#include <QFile>

namespace {

const QString source = QStringLiteral("ImportInfraredFolder");
constexpr qint32 typeMismatch = 13;
constexpr qint32 inputPastEnd = 62;
constexpr qint32 pathAccessError = 75;

qint32 errorNumber(const InfraredFileProblem &problem)
{
    return problem.kind == InfraredFileProblem::Kind::InvalidValue ? typeMismatch : inputPastEnd;
}

QString problemText(const QString &path, const InfraredFileProblem &problem)
{
    const QString file = QDir::toNativeSeparators(path);
    if (problem.kind == InfraredFileProblem::Kind::InvalidValue)
        return resString(27098).arg(file, QString::number(problem.line), problem.text);
    return resString(27097).arg(file);
}

InfraredFileResult readFile(const QString &path, InfraredFileReader &reader)
{
    QFile file(path);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly)) {
        // One byte more than a test file may have, so a larger file is refused unread.
        content = file.read(InfraredFileReader::maximumFileSize + 1);
        if (file.error() != QFileDevice::NoError)
            content.clear();
    }
    return reader.read(content); // an unreadable file reads as empty: incomplete
}

} // namespace

bool InfraredImport::Result::succeeded() const
{
    return status == Status::NoFiles || (status == Status::Imported && undeletedFiles.isEmpty());
}

InfraredImport::InfraredImport(Database &database, QString folder, bool deleteFiles,
                               QLocale locale)
    : m_database(database), m_folder(std::move(folder)), m_deleteFiles(deleteFiles),
      m_locale(std::move(locale))
{}

InfraredImport::Result InfraredImport::run()
{
    Result result;
    QStringList names;
    try {
        names = InfraredFolder::testFiles(m_folder);
    } catch (const RuntimeErrorException &error) {
        ErrorReport::ShowError(error.error());
        result.status = Status::Failed;
        return result;
    }
    result.files = int(names.size());
    if (names.isEmpty())
        return result;

    m_progress = 0;
    m_maximum = 3 * result.files;
    QList<TestRecord> tests;
    if (!readFiles(names, tests, result))
        return result;

    enter(Stage::Storing);
    StoreCounts counts;
    if (!StoreTests(m_database, tests, &counts, [this] { advance(); })) {
        result.status = Status::Failed; // reported and rolled back
        return result;
    }
    result.status = Status::Imported;
    result.stored = counts.stored;
    result.alreadyPresent = counts.skipped;
    if (m_deleteFiles)
        deleteFiles(names, result);
    return result;
}

bool InfraredImport::readFiles(const QStringList &names, QList<TestRecord> &tests,
                               Result &result)
{
    enter(Stage::Reading);
    const QDir folder(m_folder);
    InfraredFileReader reader(m_locale);
    QStringList messages;
    qint32 number = 0;
    for (const QString &name : names) {
        if (m_stopRequested) {
            result.status = Status::Stopped;
            return false;
        }
        if (onFile)
            onFile(name);
        const InfraredFileResult read = readFile(folder.filePath(name), reader);
        if (read.ok()) {
            tests.append(read.test);
        } else {
            result.invalidFiles << name;
            messages << problemText(folder.absoluteFilePath(name), read.problem);
            if (number == 0)
                number = errorNumber(read.problem);
        }
        advance();
    }
    if (!messages.isEmpty()) {
        ErrorReport::ShowError(RuntimeError{number, source, messages.join(u'\n')});
        result.status = Status::Failed;
        return false;
    }
    if (m_stopRequested) {
        result.status = Status::Stopped;
        return false;
    }
    return true;
}

void InfraredImport::deleteFiles(const QStringList &names, Result &result)
{
    enter(Stage::Deleting);
    const QDir folder(m_folder);
    QStringList failures;
    for (const QString &name : names) {
        QFile file(folder.filePath(name));
        if (file.remove()) {
            result.deletedFiles << name;
        } else {
            result.undeletedFiles << name;
            failures << name + QStringLiteral(": ") + file.errorString();
        }
        advance();
    }
    if (!failures.isEmpty()) {
        ErrorReport::ShowError(RuntimeError{
            pathAccessError, source,
            resString(27096).arg(QDir::toNativeSeparators(folder.absolutePath()),
                                 failures.join(u'\n'))});
    }
}

void InfraredImport::enter(Stage stage)
{
    if (onStage)
        onStage(stage);
}

void InfraredImport::advance()
{
    m_progress = std::min(m_progress + 1, m_maximum);
    if (onProgress)
        onProgress(m_progress, m_maximum);
}
