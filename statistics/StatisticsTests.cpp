#include "statistics/StatisticsTests.h"

#include "data/ColumnCaptions.h"
#include "data/Progress.h"
#include "data/Recordset.h"
#include "data/SelectLists.h"
#include "data/StringTable.h"
#include "statistics/TestTexts.h"

StatisticsTests::StatisticsTests(Database &connection)
    : m_connection(connection)
    , m_tests(std::make_unique<Recordset>(connection, SqlPruefungenKunden(), LockType::Optimistic))
    , m_customers(std::make_unique<Recordset>(connection, SqlKunden(), LockType::Optimistic))
{}

StatisticsTests::~StatisticsTests() = default;

void StatisticsTests::apply(const QueryCriteria &criteria, const QLocale &locale)
{
    m_tests->setFilter(QString());
    m_tests->setFilter(criteria.filterText(locale), locale);
}

void StatisticsTests::requery()
{
    m_tests->requery();
    m_customers->requery();
}

QStringList StatisticsTests::choices(Choice choice, bool newTests) const
{
    QString select;
    switch (choice) {
    case Choice::Pruefer: select = newTests ? SqlPrueferNeu() : SqlPrueferAlt(); break;
    case Choice::Auftraggeber:
        select = newTests ? SqlAuftraggeberNeu() : SqlAuftraggeberAlt();
        break;
    case Choice::FabNr: select = newTests ? SqlFabNrNeu() : SqlFabNrAlt(); break;
    }
    Recordset list(m_connection, select, LockType::ReadOnly);
    QStringList names;
    for (list.moveFirst(); !list.eof(); list.moveNext())
        names << list.value(0).toString();
    return names;
}

QList<std::pair<int, QString>> StatisticsTests::testKinds() const
{
    Recordset kinds(m_connection, SqlPruefarten(), LockType::ReadOnly);
    QList<std::pair<int, QString>> result;
    for (kinds.moveFirst(); !kinds.eof(); kinds.moveNext()) {
        const int number = kinds.value(columnCaptions().capPruefartNr).toInt();
        // An archive keeps the names of the language it was written in.
        const QString name = TestKindText(number);
        result.append({number, name.isEmpty()
                                   ? kinds.value(columnCaptions().capPruefbezeichnung).toString()
                                   : name});
    }
    return result;
}

int StatisticsTests::deleteMarked(const QList<int> &bookmarks, Progress *progress,
                                  std::optional<RuntimeError> *failure)
{
    if (progress)
        progress->ShowProgress(true, qint32(bookmarks.size()), resString(25064));
    int deleted = 0;
    for (int bookmark : bookmarks) {
        if (progress)
            progress->StepProgress();
        try {
            m_tests->setBookmark(bookmark);
            m_tests->deleteCurrent();
            ++deleted;
        } catch (const RuntimeErrorException &e) {
            if (failure && !*failure)
                *failure = e.error();
        }
    }
    if (progress)
        progress->ShowProgress(false);
    return deleted;
}
