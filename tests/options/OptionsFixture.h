#pragma once

#include "data/Database.h"
#include "data/RuntimeError.h"
#include "data/Schema.h"
#include "data/UserRoster.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSqlQuery>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

// Databases told apart by a marker row, and another computer's roster entry.
namespace OptionsFixture {

inline void createDatabase(const QString &file, const QString &marker)
{
    Schema::createEmptyDatabase(file);
    Database database;
    database.open(Database::BuildConnectionString(file));
    database.execute(QStringLiteral("CREATE TABLE Marker (name TEXT)"));
    database.execute(QStringLiteral("INSERT INTO Marker (name) VALUES (?)"), {marker});
}

inline QString markerOf(Database &database)
{
    QSqlQuery query = database.select(QStringLiteral("SELECT name FROM Marker"));
    return query.next() ? query.value(0).toString() : QString();
}

// The marker of a database file; the raw content of a file that is no database; empty when
// there is no file.
inline QString markerOf(const QString &file)
{
    if (!QFile::exists(file))
        return {};
    try {
        Database database;
        database.open(Database::BuildConnectionString(file));
        return markerOf(database);
    } catch (const RuntimeErrorException &) {
        QFile raw(file);
        raw.open(QIODevice::ReadOnly);
        return QString::fromUtf8(raw.readAll());
    }
}

// Another computer holding databaseFile open: a roster record under a lock of its own, held
// until the returned descriptor is closed.
inline int holdOpenOnOtherComputer(const QString &databaseFile, const QByteArray &computer)
{
    const int fd = ::open(QFile::encodeName(UserRoster::rosterFile(databaseFile)).constData(),
                          O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return fd;
    QByteArray record = computer;
    record.resize(UserRoster::recordSize, '\0');
    if (::pwrite(fd, record.constData(), record.size(), 0) != record.size())
        return -1;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = UserRoster::recordSize;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0 ? fd : -1;
}

} // namespace OptionsFixture

namespace OptionsFixture {

// A picture twice as wide as high.
inline QString writePng(const QString &file)
{
    QImage image(80, 40, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.save(file, "PNG");
    return file;
}

} // namespace OptionsFixture
