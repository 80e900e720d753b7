#pragma once

#include <QList>
#include <QString>

// Which source field goes into which customer column: the ten destination entries of the
// assistant, in their order, each named by the customer column's caption.
class ImportMapping
{
public:
    struct Entry
    {
        QString caption; // the localised column caption, also the entry's key
        QString column;  // the column of Kunden
        QString source;  // the mapped source field; empty when unmapped
    };

    // Kunden-Nr, the eighth entry, is the key and must be mapped.
    static constexpr int keyEntry = 7;

    // The ten entries with the captions of this run, all unmapped.
    ImportMapping();

    const QList<Entry> &entries() const { return m_entries; }
    // -1 when no entry has that caption or column name (ignoring case).
    int entryIndex(const QString &captionOrColumn) const;
    void map(int entry, const QString &sourceField);
    void clear(int entry);
    void clearAll();
    bool keyMapped() const { return !m_entries.at(keyEntry).source.isEmpty(); }

    // Reads "Kunden-Nr=KNR,Name1=NAME": destination (caption or column) = source field, pairs
    // separated by commas. Returns an error text, or empty text when every pair was taken.
    QString parse(const QString &text);

private:
    QList<Entry> m_entries;
};
