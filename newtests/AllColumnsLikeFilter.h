#pragma once

#include <QString>

class Recordset;

// The customer search: a filter that finds key anywhere in any column of the recordset
// ("[col] LIKE '*key*' OR ..."). One trailing "*" of the key is dropped. The key goes in as a
// quoted filter value, so quotes, "#" and brackets in it are plain characters; "*", "?" and
// "%" inside it keep their wildcard meaning.
QString AllColumnsLikeFilter(const Recordset &recordset, QString key);

// The bookmarks of the rows the recordset shows that hold key literally (ignoring case) in
// one of their columns: the rows of an AllColumnsLikeFilter search without the ones that only
// a wildcard in the key let through. One trailing "*" of the key is dropped as there.
QList<int> RowsContainingLiterally(Recordset &recordset, QString key);
