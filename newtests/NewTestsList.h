#pragma once

#include <QList>
#include <QString>

#include <memory>

class Progress;
class Recordset;

// The filter that keeps the tests still marked as new.
QString NewTestsFilter();

// The working list of the new tests window: a clone of the shared tests recordset with the
// new tests filter.
std::unique_ptr<Recordset> OpenNewTestsList(Recordset &rsPruefungen);

// Deletes the marked tests (bookmarks) from the list and the database, one progress step each,
// showing the progress display meanwhile. A test that cannot be deleted stays. Returns how
// many were deleted.
int DeleteMarkedTests(Recordset &tests, const QList<int> &bookmarks, Progress *progress);
