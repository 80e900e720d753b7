#include "data/DatabaseSession.h"

#include "data/ErrorReport.h"
#include "data/SelectLists.h"
#include "data/UserRoster.h"

DatabaseSession::~DatabaseSession()
{
    close();
}

void DatabaseSession::OpenRecordsets()
{
    OpenRecordset(rsKunden, dbConnection, SqlKunden(), LockType::Optimistic);
    OpenRecordset(rsAuftraggeber, dbConnection, SqlAuftraggeberListe(), LockType::Optimistic);
    OpenRecordset(rsPruefer, dbConnection, SqlPrueferListe(), LockType::Optimistic);
    OpenRecordset(rsPruefungenKunden, dbConnection, SqlPruefungenKunden(),
                  LockType::Optimistic);
    OpenRecordset(rsPruefungen, dbConnection, SqlPruefungen(), LockType::Optimistic);
}

void DatabaseSession::CloseRecordsets()
{
    CloseRecordset(rsKunden);
    CloseRecordset(rsAuftraggeber);
    CloseRecordset(rsPruefer);
    CloseRecordset(rsPruefungenKunden);
    CloseRecordset(rsPruefungen);
}

void DatabaseSession::RequeryRecordsets()
{
    for (Recordset *recordset : {rsKunden.get(), rsAuftraggeber.get(), rsPruefer.get(),
                                 rsPruefungenKunden.get(), rsPruefungen.get()}) {
        if (recordset)
            recordset->requery();
    }
}

void DatabaseSession::close()
{
    CloseRecordsets();
    CloseRecordset(rsDatenbankINI);
    dbConnection.close();
}

void OpenRecordset(std::unique_ptr<Recordset> &recordset, Database &connection,
                   const QString &selectText, LockType lockType)
{
    recordset = std::make_unique<Recordset>(connection, selectText, lockType);
}

void CloseRecordset(std::unique_ptr<Recordset> &recordset)
{
    recordset.reset();
}

std::unique_ptr<Recordset> OpenUserRoster(Database &connection)
{
    constexpr int jetNameSize = 32;
    try {
        QList<QVariantList> rows;
        for (const UserRoster::Entry &entry : UserRoster::entries(connection.filePath())) {
            QString computer = entry.computerName.left(jetNameSize - 1);
            computer.append(QString(jetNameSize - computer.size(), QChar(0)));
            rows.append({computer, entry.userName});
        }
        return std::make_unique<Recordset>(
            QList<RecordsetField>{
                RecordsetField::named(QStringLiteral("COMPUTER_NAME"), RecordsetField::Type::Text),
                RecordsetField::named(QStringLiteral("LOGIN_NAME"), RecordsetField::Type::Text)},
            rows);
    } catch (const RuntimeErrorException &exception) {
        ErrorReport::ShowError(exception.error());
        return nullptr;
    }
}

QString TrimAtNul(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    const qsizetype nul = bytes.indexOf('\0', 1);
    if (nul < 0)
        return {};
    return QString::fromLocal8Bit(bytes.left(nul));
}
