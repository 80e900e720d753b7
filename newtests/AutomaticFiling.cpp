#include "newtests/AutomaticFiling.h"

#include "data/ColumnCaptions.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"
#include "newtests/AllColumnsLikeFilter.h"
#include "newtests/FilingCase.h"

namespace {

QString orZero(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("0") : text;
}

} // namespace

AutomaticFilingResult RunAutomaticFiling(Database &connection, Recordset &tests,
                                         Recordset &customers, const QList<int> &testBookmarks,
                                         const AskYesNo &ask)
{
    const ColumnCaptions &c = columnCaptions();
    AutomaticFilingResult result;
    std::unique_ptr<Recordset> candidates = customers.clone();
    for (int bookmark : testBookmarks) {
        FilingOutcome outcome;
        outcome.bookmark = bookmark;
        try {
            tests.setBookmark(bookmark);
            outcome.kundenNr = tests.value(c.capKundenNr).toString();
            outcome.zaehlerNr = tests.value(c.capZaehlerNr).toString().trimmed();
            const std::optional<int> filingCase = FilingCase(orZero(outcome.kundenNr),
                                                             orZero(outcome.zaehlerNr));
            if (!filingCase) {
                result.outcomes << outcome;
                continue;
            }
            outcome.key = FilingKey(*filingCase, orZero(outcome.kundenNr),
                                    orZero(outcome.zaehlerNr));
            candidates->setFilter(QString());
            if (candidates->recordCount() > 0)
                candidates->setFilter(AllColumnsLikeFilter(*candidates, outcome.key));
            const QList<int> found = RowsContainingLiterally(*candidates, outcome.key);
            outcome.matches = int(found.size());
            if (found.size() != 1) {
                outcome.status = found.isEmpty() ? FilingOutcome::Status::NoCustomer
                                                 : FilingOutcome::Status::Ambiguous;
                result.outcomes << outcome;
                continue;
            }
            candidates->setBookmark(found.first());
            outcome.customerNr = candidates->value(c.capAdsKundenNr).toString();
        } catch (const RuntimeErrorException &e) {
            ErrorReport::ShowError(e.error());
            result.ended = true;
            return result;
        }
        const bool filed = FileTestUnderCustomer(connection, tests, *candidates,
                                                 FilingVariant::Automatic, ask);
        outcome.status = filed ? FilingOutcome::Status::Filed : FilingOutcome::Status::Failed;
        result.outcomes << outcome;
    }
    return result;
}
