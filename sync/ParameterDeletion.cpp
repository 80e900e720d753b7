#include "ParameterDeletion.h"

#include "sync/InstrumentParameters.h"
#include "sync/ParameterValues.h"
#include "sync/VlmMemLibrary.h"
#include "data/StringTable.h"

namespace {

const QString deletionValue = QStringLiteral("65535");

} // namespace

DeletionReport DeleteReadTests(InstrumentParameters &instruments,
                               const QList<ReadInstrument> &readInstruments)
{
    VlmMemLibrary::instance().ensureLoaded();
    DeletionReport report;
    for (const ReadInstrument &instrument : readInstruments) {
        // Deleting would lose the tests of the blocks that could not be read.
        if (instrument.layoutFault) {
            report.notDeleted << resString(27091)
                                     .arg(instrument.displayText);
            continue;
        }
        if (instrument.blocksWithoutTest > 0) {
            report.notDeleted << resString(27092)
                                     .arg(instrument.displayText)
                                     .arg(instrument.blocksWithoutTest);
            continue;
        }
        ParameterRecord record;
        if (!instruments.getParameter(instrument.fabNumber,
                                      InstrumentParameter::deleteStoredTests, record)) {
            report.communicationError = true;
            report.libraryError = instruments.lastError();
            return report;
        }
        instruments.yield();
        bool exact = false;
        const ParameterRecord written = TextToParameterValue(record, deletionValue, &exact);
        if (!exact) {
            report.notDeleted << resString(27093)
                                     .arg(instrument.displayText)
                                     .arg(record.dataType);
            continue;
        }
        if (!instruments.setParameter(instrument.fabNumber, written)) {
            report.communicationError = true;
            report.libraryError = instruments.lastError();
            return report;
        }
        report.deleted << instrument.fabNumber;
        instruments.yield();
    }
    return report;
}
