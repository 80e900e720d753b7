#include "InfraredFolder.h"

#include "data/RuntimeError.h"
#include "data/StringTable.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace InfraredFolder {

namespace {

constexpr qint32 pathNotFound = 76;

[[noreturn]] void refuse(const QString &folder, int error)
{
    const QString path = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
    throw RuntimeErrorException(pathNotFound, QStringLiteral("ImportInfraredFolder"),
                                resString(27096).arg(path, qt_error_string(error)));
}

} // namespace

bool isTestFileName(const QString &name)
{
    return name.size() >= 4 && name.left(3).toUpper() == QLatin1String("LU4")
           && name.right(4).toLower() == QLatin1String(".txt");
}

QStringList testFiles(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.exists())
        refuse(folder, ENOENT);
    if (!info.isDir())
        refuse(folder, ENOTDIR);
    if (!info.isReadable() || !info.isExecutable())
        refuse(folder, EACCES);
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.removeIf([](const QString &name) { return !isTestFileName(name); });
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

} // namespace InfraredFolder
