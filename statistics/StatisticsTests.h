#pragma once

#include "data/RuntimeError.h"
#include "statistics/QueryCriteria.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <optional>

class Database;
class Progress;
class Recordset;

// The data of one statistics window, on whatever connection it is given (the working database
// or an opened archive): the tests joined with their customers (rstPrüfungen1), the customers
// (rstKunden1) and the names the criteria offer.
class StatisticsTests
{
public:
    explicit StatisticsTests(Database &connection);
    ~StatisticsTests();

    Database &connection() const { return m_connection; }
    Recordset &tests() const { return *m_tests; }
    Recordset &customers() const { return *m_customers; }

    // Shows the tests that meet the criteria. Throws RuntimeErrorException when the criteria
    // cannot be used (call QueryCriteria::problem() first).
    void apply(const QueryCriteria &criteria, const QLocale &locale = QLocale::system());
    void requery();

    // The distinct inspectors, clients and instrument numbers among new or filed tests.
    enum class Choice { Pruefer, Auftraggeber, FabNr };
    QStringList choices(Choice choice, bool newTests) const;
    // The test kinds in the database: number and name in the running language.
    QList<std::pair<int, QString>> testKinds() const;

    // Deletes the tests of the bookmarks of tests(), each by its own key, so that no other
    // test goes with it. A test that cannot be deleted stays; the first failure is returned in
    // failure. Returns how many were deleted.
    int deleteMarked(const QList<int> &bookmarks, Progress *progress,
                     std::optional<RuntimeError> *failure);

private:
    Database &m_connection;
    std::unique_ptr<Recordset> m_tests;
    std::unique_ptr<Recordset> m_customers;
};
