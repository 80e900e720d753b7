#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

class InstrumentParameters;

// An instrument whose tests were read and stored in this run.
struct ReadInstrument
{
    uint32_t fabNumber = 0;
    QString displayText;     // "063 02 00420"
    int blocksWithoutTest = 0; // stored blocks that failed a check and were not stored
    bool layoutFault = false;  // the memory's tables could not be followed
};

struct DeletionReport
{
    // A bus call failed: the run reports libraryError as a communication error. Instruments
    // after the failing one were not handled and keep their tests.
    bool communicationError = false;
    QString libraryError;
    QList<uint32_t> deleted;
    // One line per instrument that keeps its tests, with the reason.
    QStringList notDeleted;
};

// Tells the instruments to delete the tests that were read, by writing 65535 into parameter 72.
// Only an instrument of which every stored block became a test is told; an instrument whose
// parameter 72 cannot hold 65535 exactly is not written to. Both are listed in notDeleted.
// Throws when the conversion library is missing, before anything is written.
DeletionReport DeleteReadTests(InstrumentParameters &instruments,
                               const QList<ReadInstrument> &readInstruments);
