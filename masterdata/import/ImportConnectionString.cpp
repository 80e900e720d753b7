#include "masterdata/import/ImportConnectionString.h"

namespace {

// The connection text of the main database with another data source and properties.
QString jetString(const QString &dataSource, const QString &properties, bool textEngine)
{
    QString text = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Password='';User ID=Admin;Data Source=%1;"
        "Mode=Share Deny None;Extended Properties=%2;Jet OLEDB:System database='';"
        "Jet OLEDB:Registry Path='';Jet OLEDB:Database Password='tavirk';"
        "Jet OLEDB:Engine Type=%3;Jet OLEDB:Database Locking Mode=0;"
        "Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;"
        "Jet OLEDB:New Database Password='';Jet OLEDB:Create System Database=False;"
        "Jet OLEDB:Encrypt Database=False;Jet OLEDB:Don't Copy Locale on Compact=False;"
        "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False");
    return text.arg(dataSource, properties, textEngine ? QStringLiteral("60")
                                                       : QStringLiteral("5"));
}

} // namespace

QString BuildImportConnectionString(const QString &fullPath, const QString &fileName,
                                    QString *extension)
{
    const QString lower = fileName.toLower();
    QString type = lower.right(3);
    if (lower.endsWith(QLatin1String(".xlsx")) || lower.endsWith(QLatin1String(".accdb")))
        type = lower.mid(lower.lastIndexOf(u'.') + 1);
    if (extension)
        *extension = type;
    const QString folder = fullPath.left(fullPath.size() - fileName.size());
    if (type == u"mdb" || type == u"accdb")
        return jetString(fullPath, QStringLiteral("''"), false);
    if (type == u"xls")
        return jetString(fullPath, QStringLiteral("'Excel 8.0'"), false);
    if (type == u"xlsx")
        return jetString(fullPath, QStringLiteral("'Excel 12.0 Xml'"), false);
    if (type == u"txt" || type == u"csv")
        return jetString(folder, QStringLiteral("'Text'"), true);
    if (type == u"dbf")
        return QStringLiteral("DRIVER={Microsoft dBase Driver (*.dbf)};DBQ=") + folder + u';';
    return {};
}
