#include "VlmBusLibrary.h"

#include "data/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString source = QStringLiteral("VlmBusLibrary");
const QString fileName = QStringLiteral("libvlm_bus.so");
// The number under which a failure to bind the library is reported (the platform's "file not
// found" for a library).
constexpr qint32 libraryNotFound = 53;

} // namespace

VlmBusLibrary &VlmBusLibrary::instance()
{
    static VlmBusLibrary library;
    return library;
}

QStringList VlmBusLibrary::candidates() const
{
    if (!m_file.isEmpty())
        return {m_file};
    const QString fromEnvironment = qEnvironmentVariable("LUMETRA4_VLM_BUS");
    if (!fromEnvironment.isEmpty())
        return {fromEnvironment};
    QStringList list;
    if (QCoreApplication::instance()) {
        const QDir programDir(QCoreApplication::applicationDirPath());
        list << programDir.filePath(fileName)
             << QDir::cleanPath(programDir.filePath(QStringLiteral("../lib/") + fileName))
             << QDir::cleanPath(programDir.filePath(QStringLiteral("../bus/") + fileName));
    }
    list << QStringLiteral(LUMETRA4_BUS_BUILD_DIR "/") + fileName
         << QStringLiteral("vlm_bus"); // the system's library path
    list.removeDuplicates();
    return list;
}

bool VlmBusLibrary::bind(QStringList *missing)
{
#define VLM_BUS_RESOLVE(name)                                                            \
    m_functions.name = reinterpret_cast<decltype(m_functions.name)>(m_library.resolve(#name)); \
    if (!m_functions.name)                                                               \
        *missing << QStringLiteral(#name);
    VLM_BUS_FUNCTIONS(VLM_BUS_RESOLVE)
#undef VLM_BUS_RESOLVE
    return missing->isEmpty();
}

const VlmBusFunctions &VlmBusLibrary::functions()
{
    if (m_bound)
        return m_functions;
    QStringList tried;
    for (const QString &candidate : candidates()) {
        if (candidate.contains(u'/') && !QFileInfo::exists(candidate))
            continue;
        m_library.setFileName(candidate);
        if (!m_library.load()) {
            tried << m_library.errorString();
            continue;
        }
        QStringList missing;
        if (bind(&missing)) {
            m_bound = true;
            return m_functions;
        }
        tried << QStringLiteral("%1 lacks the functions %2")
                     .arg(m_library.fileName(), missing.join(QStringLiteral(", ")));
        m_functions = {};
        m_library.unload();
    }
    if (tried.isEmpty())
        tried << QStringLiteral("%1 found nowhere: %2")
                     .arg(fileName, candidates().join(QStringLiteral(", ")));
    throw RuntimeErrorException(
        libraryNotFound, source,
        QStringLiteral("The bus library VLM_BUS (libvlm_bus.so) cannot be loaded, so no "
                       "instrument can be reached.\n%1")
            .arg(tried.join(u'\n')));
}

QString VlmBusLibrary::errorText()
{
    char text[256] = {};
    functions().GetExtendedErrorInformation(text);
    return QString::fromLatin1(text);
}

void VlmBusLibrary::reset(const QString &file)
{
    m_functions = {};
    m_bound = false;
    if (m_library.isLoaded())
        m_library.unload();
    m_file = file;
}
