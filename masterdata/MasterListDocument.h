#pragma once

#include "statistics/ListDocument.h"

#include <memory>

class Recordset;

// The printed master data list: every entry of list (a search filter does not narrow it), in
// the list's current sort order, with the captions as column headings; the caption on the left
// and the date on the right of the header, the page word and page number with the page count
// in the footer. A4, portrait unless landscape.
std::unique_ptr<ListDocument> MasterListDocument(Recordset &list, const QString &caption,
                                                 bool landscape = false);
