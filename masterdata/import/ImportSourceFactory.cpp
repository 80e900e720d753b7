#include "masterdata/import/ImportSourceFactory.h"

#include "data/RuntimeError.h"
#include "data/StringTable.h"
#include "masterdata/import/DbfSource.h"
#include "masterdata/import/ImportConnectionString.h"
#include "masterdata/import/MdbSource.h"
#include "masterdata/import/TextFileSource.h"
#include "masterdata/import/XlsSource.h"
#include "masterdata/import/XlsxSource.h"

#include <QDir>
#include <QFileInfo>

bool IsImportFileType(const QString &extension)
{
    static const QStringList types = {"txt", "csv", "xls", "xlsx", "mdb", "accdb", "dbf"};
    return types.contains(extension);
}

std::unique_ptr<ImportSource> OpenImportSource(const QString &filePath)
{
    QString type;
    BuildImportConnectionString(filePath, QFileInfo(filePath).fileName(), &type);
    if (type == u"txt" || type == u"csv")
        return std::make_unique<TextFileSource>(filePath);
    if (type == u"xls")
        return std::make_unique<XlsSource>(filePath);
    if (type == u"xlsx")
        return std::make_unique<XlsxSource>(filePath);
    if (type == u"mdb" || type == u"accdb")
        return std::make_unique<MdbSource>(filePath);
    if (type == u"dbf")
        return std::make_unique<DbfSource>(filePath);
    throw RuntimeErrorException(ImportSource::unreadableError, QStringLiteral("Import"),
                                resString(25331).arg(QDir::toNativeSeparators(filePath),
                                                     resString(25339)));
}
