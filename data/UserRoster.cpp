#include "data/UserRoster.h"

#include "data/DatabaseError.h"
#include "data/StringTable.h"

#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString source = QStringLiteral("UserRoster");

struct flock recordLock(short type, int record)
{
    struct flock lock;
    std::memset(&lock, 0, sizeof lock);
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(record) * UserRoster::recordSize;
    lock.l_len = UserRoster::recordSize;
    return lock;
}

QByteArray padded(const QString &text)
{
    QByteArray bytes = text.toLocal8Bit().left(UserRoster::nameSize - 1);
    bytes.resize(UserRoster::nameSize, '\0');
    return bytes;
}

QString userName()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QString::number(getuid()) : user;
}

RuntimeErrorException rosterError(const QString &file)
{
    return DatabaseError::make(DatabaseError::General, source,
                               resString(26179).arg(file, QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace

QString UserRoster::rosterFile(const QString &databaseFile)
{
    return databaseFile + QStringLiteral(".roster");
}

UserRoster::UserRoster(const QString &databaseFile)
{
    const QString file = rosterFile(databaseFile);
    m_fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        throw rosterError(file);
    for (int record = 0; record < maxRecords; ++record) {
        struct flock lock = recordLock(F_WRLCK, record);
        if (fcntl(m_fd, F_OFD_SETLK, &lock) != 0)
            continue; // held by a live connection
        const QByteArray entry = padded(QSysInfo::machineHostName()) + padded(userName());
        if (pwrite(m_fd, entry.constData(), recordSize, off_t(record) * recordSize)
            == recordSize) {
            return;
        }
        break;
    }
    const RuntimeErrorException error = rosterError(file);
    ::close(m_fd);
    throw error;
}

UserRoster::~UserRoster()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the record lock
}

QList<UserRoster::Entry> UserRoster::entries(const QString &databaseFile)
{
    const QString file = rosterFile(databaseFile);
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        throw rosterError(file);
    }
    QList<Entry> result;
    char record[recordSize];
    for (int index = 0; index < maxRecords; ++index) {
        if (pread(fd, record, recordSize, off_t(index) * recordSize) != recordSize)
            break;
        struct flock lock = recordLock(F_WRLCK, index);
        if (fcntl(fd, F_OFD_GETLK, &lock) != 0 || lock.l_type == F_UNLCK)
            continue; // a connection that ended, or a process that died
        result.append({QString::fromLocal8Bit(record, qstrnlen(record, nameSize)),
                       QString::fromLocal8Bit(record + nameSize,
                                              qstrnlen(record + nameSize, nameSize))});
    }
    ::close(fd);
    return result;
}
