#pragma once

#include "masterdata/MasterListKind.h"

#include <QStringList>

#include <functional>
#include <optional>

class DatabaseSession;
class Recordset;

// The rules of the entry window: one entry of a master data list (a customer, an inspector or
// a client) is added or edited field by field, checked, saved or deleted. The fields are the
// columns of the list recordset; the first one is the entry's key.
class MasterDataEntry
{
public:
    // Text columns of the database hold up to this many characters.
    static constexpr int maximumLength = 255;

    struct Refusal
    {
        bool warning = false; // else information
        QString text;
    };

    MasterDataEntry(DatabaseSession &session, Recordset &list, MasterListKind kind,
                    bool newRecordMode);

    MasterListKind kind() const { return m_kind; }
    bool newRecordMode() const { return m_newRecordMode; }
    QStringList fieldNames() const;
    // The texts of the boxes when the window opens: empty for a new entry, else the values of
    // the current record (Null gives an empty text). Remembers the loaded key.
    QStringList load();
    const QString &loadedKey() const { return m_loadedKey; }

    // Checks the typed values; a customer number in values[0] takes its stored form. Returns
    // the refusal, or nothing when the values may be saved.
    std::optional<Refusal> check(QStringList &values) const;

    // Saves checked values in one transaction: a new record or the current one; a changed
    // customer number is carried over to the customer's tests. Throws RuntimeErrorException
    // after rolling back; the lists then show what the database holds.
    void save(const QStringList &values);

    // Deletes the entry after asking (ask gets the question, returns Yes). A customer with
    // filed tests is deleted together with them after a question that counts them. Returns
    // whether something was deleted; throws after rolling back.
    bool deleteEntry(const std::function<bool(const QString &question)> &ask);

    // Rereads the customers after a save, so every list shows them as stored; reports its own
    // failure. Not after a refusal: the reread would move the list off the edited record.
    void refreshCustomers();

private:
    void rereadAfterFailure();

    DatabaseSession &m_session;
    Recordset &m_list;
    MasterListKind m_kind;
    bool m_newRecordMode;
    QString m_loadedKey;
};
