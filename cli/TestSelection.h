#pragma once

#include "statistics/QueryCriteria.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class DatabaseSession;
class Recordset;

// Which tests a command of the command line works on: one test by its number, or the tests
// that match the criteria options that the tests, print and export commands share. The
// criteria are those of the statistics window and are applied by the same code.
struct TestSelection
{
    std::optional<int> testId;
    std::optional<int> kind;
    QString customer;
    QDate from;
    QDate to;
    bool newTests = false;
    std::optional<int> finding;
    QString inspector;
    QString client;
    QString instrument;
    QString flowMin;
    QString flowMax;

    static QString criteriaHelp();

    // Reads the criterion option at arguments[i], moving i past its value. Returns false when
    // the option is no criterion; error is set for a criterion with a missing or bad value.
    bool take(const QStringList &arguments, int &i, QString *error);

    // The criteria as the statistics window would hold them.
    QueryCriteria criteria() const;

    // The selected tests with their customers, in the order of the tests list.
    std::unique_ptr<Recordset> select(DatabaseSession &session) const;
};
