#include "statistics/ExportFile.h"

#include "data/StringTable.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray ExportFile::bytes(const QStringList &lines, CodePage::Id page)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += CodePage::encode(line, page);
        out += "\r\n";
    }
    return out;
}

CodePage::Id ExportFile::runningCodePage()
{
    return CodePage::forLanguage(StringTable::instance().language());
}

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The mode a file made by open() would get, which mkostemp() narrows to the owner.
mode_t ordinaryFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const QByteArray &content)
{
    const char *data = content.constData();
    qint64 left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// Puts the finished temporary file under its name; fails with EEXIST when the name is taken.
bool linkWithoutReplacing(const QByteArray &temporary, const QByteArray &target)
{
    if (::link(temporary.constData(), target.constData()) == 0)
        return true;
    // File systems without hard links still offer a rename that refuses to replace.
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)
        return false;
    return ::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(),
                       RENAME_NOREPLACE)
           == 0;
}

} // namespace

ExportFile::Result ExportFile::write(const QString &path, const QByteArray &content,
                                     QString *failure)
{
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.")
                                             + info.fileName() + QStringLiteral(".XXXXXX"));
    const auto fail = [failure](int error) {
        if (failure)
            *failure = systemReason(error);
        return error == EEXIST ? Result::Exists : Result::Failed;
    };
    if (::access(target.constData(), F_OK) == 0)
        return fail(EEXIST);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    bool done = writeAll(fd, content) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && ::fchmodat(AT_FDCWD, temporary.constData(), ordinaryFileMode(), 0) != 0) {
        done = false;
        error = errno;
    }
    if (done && !linkWithoutReplacing(temporary, target)) {
        done = false;
        error = errno;
    }
    ::unlink(temporary.constData());
    return done ? Result::Written : fail(error);
}
