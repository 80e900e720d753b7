#pragma once

#include <QString>
#include <QVariant>

// How the stored codes of a tests column read. The grid shows a code it does not know as
// stored; printed lists and exports leave it empty.
enum class ColumnFormat {
    None,
    Finding,        // 0 OK, 1 bOK, 2 nOK, 3 and 4 Messabbruch, 255 nothing
    GasMeterSafety, // 0 OK, 2 nOK, 3 fehlt, 255 nothing
    ZeroClosure,    // 0 OK, 2 nOK, 3 entfällt, 255 nothing
    MissingValue,   // -99999 (not measured) nothing
    TestKind,       // 0-3 by name
};

QString GridText(ColumnFormat format, const QVariant &stored);
QString PrintText(ColumnFormat format, const QVariant &stored);
