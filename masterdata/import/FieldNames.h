#pragma once

#include <QStringList>

namespace FieldNames {

// The field names of a header row as the desktop engine names them: a missing name becomes
// "F" and the field's number (from 1), and so does a name used before, so that every field
// can be told apart in the mapping.
QStringList fromHeader(const QStringList &header);

} // namespace FieldNames
