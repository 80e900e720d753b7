#pragma once

#include "sync/DecodedMemory.h"

#include <QList>
#include <QLocale>
#include <QString>

// The curve text of series s of a valid block: "MAX:MIN:N:" and then each sample followed by
// ":", every value times 10, in mbar when the series is in bar. The samples 10.5, 11 and 10.75
// mbar give "110:105:3:105:110:107.5:". A block without samples gives the empty text.
QString BuildCurve(const DecodedBlock &block, int s, const QLocale &locale = QLocale());

// The curve text of samples that are already multiplied by 10: "MAX:MIN:N:" and each sample
// followed by ":". MAX starts at 0 and MIN at the first sample; no samples give "0:0:0:".
QString CurveTextOfTenths(const QList<double> &tenths, const QLocale &locale = QLocale());
