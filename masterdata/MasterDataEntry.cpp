#include "masterdata/MasterDataEntry.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"
#include "data/RecordsetHelpers.h"
#include "data/StringTable.h"
#include "masterdata/CustomerDeletion.h"
#include "masterdata/KundenNr.h"

MasterDataEntry::MasterDataEntry(DatabaseSession &session, Recordset &list, MasterListKind kind,
                                 bool newRecordMode)
    : m_session(session), m_list(list), m_kind(kind), m_newRecordMode(newRecordMode)
{}

QStringList MasterDataEntry::fieldNames() const
{
    QStringList names;
    for (int i = 0; i < m_list.fieldCount(); ++i)
        names << m_list.fieldName(i);
    return names;
}

QStringList MasterDataEntry::load()
{
    QStringList values;
    const bool current = !m_newRecordMode && m_list.recordCount() > 0 && !m_list.bof()
                         && !m_list.eof();
    if (current)
        m_loadedKey = m_list.value(0).toString();
    for (int i = 0; i < m_list.fieldCount(); ++i)
        values << (current ? m_list.value(i).toString() : QString());
    return values;
}

std::optional<MasterDataEntry::Refusal> MasterDataEntry::check(QStringList &values) const
{
    const QString key = values.value(0).trimmed();
    if (key.isEmpty())
        return Refusal{false, resString(masterListInfo(m_kind).emptyKeyString)};
    if (m_kind != MasterListKind::Customers)
        return std::nullopt;
    values[0] = FormatKundenNr(key);
    const bool changed = m_newRecordMode || values[0] != m_loadedKey;
    if (changed && KundenNrExists(m_list, columnCaptions().capAdsKundenNr, values[0]))
        return Refusal{false, resString(25468) + QStringLiteral("\r\n\r\n") + resString(25469)};
    return std::nullopt;
}

void MasterDataEntry::save(const QStringList &values)
{
    try {
        Transaction transaction(m_session.dbConnection);
        if (m_list.recordCount() == 0 || m_newRecordMode)
            m_list.addNew();
        for (int i = 0; i < m_list.fieldCount(); ++i) {
            // An empty box stores an empty text; a null string would be bound as NULL.
            QString text = values.value(i).trimmed();
            if (text.isNull())
                text = QStringLiteral("");
            const bool number = i == 0 && m_kind == MasterListKind::Customers;
            m_list.setValue(i, number ? FormatKundenNr(text) : text);
        }
        const QString number = FormatKundenNr(values.value(0));
        const bool renumbered = m_kind == MasterListKind::Customers && !m_newRecordMode
                                && !m_loadedKey.isEmpty() && number != m_loadedKey;
        // Tests belong to their customer by number only; they follow the new number.
        if (renumbered)
            m_session.dbConnection.execute(
                QStringLiteral("UPDATE Pruefungen SET PFG_KundenNr = ? WHERE PFG_KundenNr = ?"),
                {number, m_loadedKey});
        m_list.update();
        if (m_list.lockType() == LockType::BatchOptimistic)
            m_list.updateBatch();
        transaction.commit();
        if (renumbered) {
            m_session.rsPruefungenKunden->requery();
            m_session.rsPruefungen->requery();
        }
    } catch (const RuntimeErrorException &) {
        rereadAfterFailure();
        throw;
    }
}

bool MasterDataEntry::deleteEntry(const std::function<bool(const QString &)> &ask)
{
    if (m_list.recordCount() == 0 || m_list.bof() || m_list.eof())
        return false;
    try {
        Transaction transaction(m_session.dbConnection);
        bool deleted = false;
        const int filed = m_kind == MasterListKind::Customers
                              ? CountFiledTests(*m_session.rsPruefungen,
                                                m_list.value(columnCaptions().capAdsKundenNr)
                                                    .toString())
                              : 0;
        if (filed > 0) {
            const QString question = resString(25456) + QStringLiteral("\r\n") + resString(25457)
                                     + QString::number(filed) + QStringLiteral("\r\n\r\n")
                                     + resString(25458);
            if (ask(question)) {
                DeleteCustomerWithFiledTests(m_list, *m_session.rsPruefungen);
                deleted = true;
            }
        } else if (ask(resString(25459))) {
            const int before = m_list.recordCount();
            DeleteCurrentRecord(m_list);
            deleted = m_list.recordCount() < before;
        }
        transaction.commit();
        return deleted;
    } catch (const RuntimeErrorException &) {
        rereadAfterFailure();
        throw;
    }
}

void MasterDataEntry::refreshCustomers()
{
    try {
        if (m_session.rsKunden)
            m_session.rsKunden->requery();
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
}

void MasterDataEntry::rereadAfterFailure()
{
    try {
        m_list.cancelUpdate();
    } catch (const RuntimeErrorException &) {
        // Nothing was being edited.
    }
    for (Recordset *list : {&m_list, m_session.rsPruefungen.get()}) {
        try {
            if (list)
                list->requery();
        } catch (const RuntimeErrorException &) {
            // The failure that brought us here is the one reported.
        }
    }
}
