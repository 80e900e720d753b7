#pragma once

#include "sync/TestRecord.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

class Database;

// One import of the instrument's test files ("LU4*.txt") from the infrared folder: reads each
// file, in name order, into one test; stores the tests as new tests in one transaction, skipping
// tests already stored; then, when asked to, deletes the files.
//
// Nothing is stored when the folder or any file cannot be read, and a file is deleted only after
// the store committed. Failures are reported through ErrorReport::ShowError, naming the folder
// or every file that could not be read. No window is involved: the callbacks report progress
// and may yield to the user interface, where requestStop() may be called. A stop is honoured
// until the store begins; it ends the import with nothing stored and no file deleted.
class InfraredImport
{
public:
    enum class Stage { Reading, Storing, Deleting };

    enum class Status {
        NoFiles,  // the folder holds no test file: nothing done, nothing reported
        Imported, // stored, and deleted when asked
        Failed,   // reported; nothing stored, no file deleted
        Stopped,  // stopped before the store; nothing stored, no file deleted
    };

    struct Result
    {
        Status status = Status::NoFiles;
        int files = 0;  // test files found
        int stored = 0; // new tests
        int alreadyPresent = 0;
        QStringList invalidFiles;   // names of the files that could not be read
        QStringList deletedFiles;   // names
        QStringList undeletedFiles; // names of files whose tests were stored but that could not
                                    // be deleted (reported)

        // Nothing to do, or everything done that was asked for.
        bool succeeded() const;
    };

    InfraredImport(Database &database, QString folder, bool deleteFiles,
                   QLocale locale = QLocale());

    // Each may be left empty.
    std::function<void(Stage)> onStage;
    // Before a file is read; the file's name.
    std::function<void(const QString &)> onFile;
    // maximum = 3 x the number of test files: one step per file read, per test stored or
    // skipped and per file deleted.
    std::function<void(int value, int maximum)> onProgress;

    void requestStop() { m_stopRequested = true; }
    bool stopRequested() const { return m_stopRequested; }

    Result run();

private:
    bool readFiles(const QStringList &names, QList<TestRecord> &tests, Result &result);
    void deleteFiles(const QStringList &names, Result &result);
    void enter(Stage stage);
    void advance();

    Database &m_database;
    QString m_folder;
    bool m_deleteFiles;
    QLocale m_locale;
    std::atomic_bool m_stopRequested = false;
    int m_progress = 0;
    int m_maximum = 0;
};
