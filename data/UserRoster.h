#pragma once

#include <QList>
#include <QString>

// Which computers hold a database open.
//
// A roster file lies beside the database ("<database>.roster"). Every open connection owns one
// fixed-size record of it: the computer name and the user name, NUL-padded, under an
// open-file-description lock (fcntl F_OFD_SETLK) on that record. The lock goes with the
// connection, also when its process dies, so a record counts only while its lock is held.
class UserRoster
{
public:
    struct Entry
    {
        QString computerName;
        QString userName;
    };

    static QString rosterFile(const QString &databaseFile);

    // Enters this connection into the roster of databaseFile; throws RuntimeErrorException
    // when the roster cannot be written.
    explicit UserRoster(const QString &databaseFile);
    ~UserRoster();
    UserRoster(const UserRoster &) = delete;
    UserRoster &operator=(const UserRoster &) = delete;

    // The live entries of the roster of databaseFile, in record order; throws
    // RuntimeErrorException when the roster exists but cannot be read.
    static QList<Entry> entries(const QString &databaseFile);

    static constexpr int nameSize = 64;
    static constexpr int recordSize = 2 * nameSize;
    static constexpr int maxRecords = 4096;

private:
    int m_fd = -1;
};
