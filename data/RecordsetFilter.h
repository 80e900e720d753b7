#pragma once

#include "data/RecordsetField.h"

#include <QList>
#include <QLocale>
#include <QVariant>

#include <memory>

// A recordset filter text, parsed once and evaluated against rows in memory.
//
// Grammar (keywords in any case):
//   filter     := andTerm { OR andTerm }
//   andTerm    := factor { AND factor }
//   factor     := "(" filter ")" | field operator value
//   field      := "[" name "]" | name
//   operator   := "=" | "<>" | "<" | ">" | "<=" | ">=" | LIKE
//   value      := 'text' (a quote doubled inside) | #date# | number | TRUE | FALSE | NULL
// Dates are written in the locale's short date format, optionally with a time of day. LIKE
// takes * or % for any run of characters and ? for one; text compares ignore case. A text
// that does not follow the grammar throws error 3001; an unknown field 3265.
class RecordsetFilter
{
public:
    // What the filter reads: the stored value of a field of the row under test.
    class Row
    {
    public:
        virtual ~Row() = default;
        virtual QVariant value(int field) const = 0;
    };

    RecordsetFilter(const QString &text, const QList<RecordsetField> &fields,
                    const QLocale &locale = QLocale());
    ~RecordsetFilter();
    RecordsetFilter(RecordsetFilter &&) noexcept;
    RecordsetFilter &operator=(RecordsetFilter &&) noexcept;

    bool matches(const Row &row) const;
    // The field positions the filter reads.
    QList<int> fieldsUsed() const;

    // A text as a filter value: between quotes, with quotes inside doubled.
    static QString quoted(const QString &text);

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};
