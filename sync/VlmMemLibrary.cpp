#include "VlmMemLibrary.h"

#include "data/RuntimeError.h"
#include "data/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString source = QStringLiteral("VlmMemLibrary");
const QString baseName = QStringLiteral("vlm_mem");
// The number under which a failure to bind the library is reported (the platform's "file not
// found" for a library).
constexpr qint32 libraryNotFound = 53;

} // namespace

VlmMemLibrary &VlmMemLibrary::instance()
{
    static VlmMemLibrary library;
    return library;
}

QStringList VlmMemLibrary::candidates() const
{
    if (!m_file.isEmpty())
        return {m_file};
    const QString fromEnvironment = qEnvironmentVariable("LUMETRA4_VLM_MEM");
    if (!fromEnvironment.isEmpty())
        return {fromEnvironment};
    QStringList list;
    if (QCoreApplication::instance()) {
        const QDir programDir(QCoreApplication::applicationDirPath());
        list << programDir.filePath(QStringLiteral("lib") + baseName + QStringLiteral(".so"))
             << QDir::cleanPath(programDir.filePath(QStringLiteral("../lib/lib") + baseName
                                                     + QStringLiteral(".so")));
    }
    list << baseName; // the system's library path
    return list;
}

void VlmMemLibrary::ensureLoaded()
{
    if (m_toData && m_toMemory)
        return;
    QStringList tried;
    for (const QString &candidate : candidates()) {
        if (candidate.contains(u'/') && !QFileInfo::exists(candidate)) {
            tried << candidate;
            continue;
        }
        m_library.setFileName(candidate);
        if (!m_library.load()) {
            tried << m_library.errorString();
            continue;
        }
        m_toData = reinterpret_cast<ToData>(m_library.resolve("ConvertMemoryToData"));
        m_toMemory = reinterpret_cast<ToMemory>(m_library.resolve("ConvertDataToMemory"));
        if (m_toData && m_toMemory)
            return;
        tried << QStringLiteral("%1: ConvertMemoryToData or ConvertDataToMemory missing")
                     .arg(m_library.fileName());
        m_toData = nullptr;
        m_toMemory = nullptr;
        m_library.unload();
    }
    throw RuntimeErrorException(
        libraryNotFound, source,
        resString(27090) + u'\n' + tried.join(u'\n'));
}

bool VlmMemLibrary::memoryToData(void *destination, const void *source, uint8_t count)
{
    ensureLoaded();
    return m_toData(destination, source, count) != 0;
}

bool VlmMemLibrary::dataToMemory(const void *source, void *destination, uint8_t count)
{
    ensureLoaded();
    return m_toMemory(source, destination, count) != 0;
}

void VlmMemLibrary::reset(const QString &file)
{
    m_toData = nullptr;
    m_toMemory = nullptr;
    if (m_library.isLoaded())
        m_library.unload();
    m_file = file;
}
