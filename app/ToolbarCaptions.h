#pragma once

#include <QStringList>

// Pads every non-empty caption with blanks to the length of the longest one, centred; an odd
// surplus puts the extra blank on the left. Gives the toolbar buttons equal widths.
QStringList centreCaptions(const QStringList &captions);
