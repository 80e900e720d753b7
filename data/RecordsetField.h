#pragma once

#include <QString>

// One column of a recordset: the name the program addresses it by (the select list's alias),
// the kind of value it holds and, for a plain column of a table, where it is written back.
struct RecordsetField
{
    enum class Type { Variant, Text, Memo, Integer, Real, Bool, DateTime };

    QString name;
    Type type = Type::Variant;
    QString table;      // empty: a computed column, read-only
    QString column;
    int keySlot = -1;   // which of the row's keys locates the table's row
    bool lazy = false;  // long text fetched when a row needs it, not with the list

    // A field that is no table column: computed, or held in memory only.
    static RecordsetField named(const QString &name, Type type = Type::Variant);
    // The type of a column as its table declares it.
    static Type typeFromDeclaration(const QString &declaredType);
};
