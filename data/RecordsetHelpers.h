#pragma once

#include <QList>
#include <QString>

class Progress;
class Recordset;

// How many records hold key as customer number in the field customerNumberField, trying key
// as it is and with 1 to 29 leading zeros; key keeps the form of the last attempt (unchanged
// when the recordset is empty). Matches the whole number literally, whatever it contains.
int MatchKundenNr(Recordset &recordset, const QString &customerNumberField, QString &key);

// Deletes the current record and writes the deletion back; a record that cannot be deleted
// stays and nothing is reported.
void DeleteCurrentRecord(Recordset &recordset);

// Deletes the records of the bookmarks, one progress step each; a record that cannot be
// deleted is skipped. Returns how many were deleted.
int DeleteSelectedRows(Recordset &recordset, const QList<int> &bookmarks, Progress *progress);

// Sorts by the clicked column: ascending on the first click, reversed on each further click
// on the same column. The window keeps previousColumn and direction per grid.
void SortByColumn(Recordset &recordset, int column, int &previousColumn, QString &direction);
