#include "masterdata/import/ImportMapping.h"

#include "data/ColumnCaptions.h"

ImportMapping::ImportMapping()
{
    const ColumnCaptions &c = columnCaptions();
    m_entries = {{c.capName1, QStringLiteral("ADS_Name1"), {}},
                 {c.capName2, QStringLiteral("ADS_Name2"), {}},
                 {c.capStrasse, QStringLiteral("ADS_Strasse"), {}},
                 {c.capPLZ, QStringLiteral("ADS_PLZ"), {}},
                 {c.capOrt, QStringLiteral("ADS_Ort"), {}},
                 {c.capTelefon, QStringLiteral("ADS_Telefon"), {}},
                 {c.capFax, QStringLiteral("ADS_Fax"), {}},
                 {c.capAdsKundenNr, QStringLiteral("ADS_KundenNr"), {}},
                 {c.capAdsZaehlerNr, QStringLiteral("ADS_ZaehlerNr"), {}},
                 {c.capAdsZaehlerNrAlt, QStringLiteral("ADS_ZaehlerNrAlt"), {}}};
}

int ImportMapping::entryIndex(const QString &captionOrColumn) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries.at(i);
        if (entry.caption.compare(captionOrColumn, Qt::CaseInsensitive) == 0
            || entry.column.compare(captionOrColumn, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void ImportMapping::map(int entry, const QString &sourceField)
{
    m_entries[entry].source = sourceField;
}

void ImportMapping::clear(int entry)
{
    m_entries[entry].source.clear();
}

void ImportMapping::clearAll()
{
    for (Entry &entry : m_entries)
        entry.source.clear();
}

QString ImportMapping::parse(const QString &text)
{
    const QStringList pairs = text.split(u',', Qt::SkipEmptyParts);
    for (const QString &pair : pairs) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals < 0)
            return QStringLiteral("'%1' is not DESTINATION=SOURCE").arg(pair.trimmed());
        const QString destination = pair.left(equals).trimmed();
        const QString source = pair.mid(equals + 1).trimmed();
        const int entry = entryIndex(destination);
        if (entry < 0)
            return QStringLiteral("'%1' is no customer field").arg(destination);
        if (source.isEmpty())
            return QStringLiteral("no source field for '%1'").arg(destination);
        map(entry, source);
    }
    return {};
}
