#include "GuideDemo.h"

#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "masterdata/import/CustomerImport.h"
#include "masterdata/import/ImportSource.h"
#include "masterdata/import/ImportSourceFactory.h"
#include "newtests/AutomaticFiling.h"
#include "newtests/NewTestsList.h"
#include "sync/InfraredImport.h"

#include <QDir>

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw RuntimeErrorException(0, QStringLiteral("GuideDemo"), what);
}

} // namespace

GuideDemo::GuideDemo(QString demoFolder)
    : m_folder(std::move(demoFolder))
{}

QString GuideDemo::customerFile() const
{
    return QDir(m_folder).filePath(QStringLiteral("customers.csv"));
}

QString GuideDemo::infraredFolder() const
{
    return QDir(m_folder).filePath(QStringLiteral("infrared"));
}

void GuideDemo::fill(DatabaseSession &session) const
{
    const auto source = OpenImportSource(customerFile());
    const ImportTable customers = source->readTable(source->tableNames().value(0));
    ImportMapping mapping;
    const QString error = mapping.parse(QStringLiteral(
        "ADS_KundenNr=Nr,ADS_Name1=Name,ADS_Strasse=Strasse,ADS_PLZ=PLZ,ADS_Ort=Ort,"
        "ADS_Telefon=Telefon,ADS_ZaehlerNr=Zaehler"));
    if (!error.isEmpty())
        fail(error);
    CustomerImport(session.dbConnection, mapping, UpdateMethod::Update).run(customers);

    InfraredImport infrared(session.dbConnection, infraredFolder(), false);
    if (infrared.run().status != InfraredImport::Status::Imported)
        fail(infraredFolder());
    session.RequeryRecordsets();

    const auto newTests = OpenNewTestsList(*session.rsPruefungen);
    QList<int> bookmarks;
    for (int row = 0; row < newTests->recordCount(); ++row) {
        newTests->move(row);
        bookmarks << newTests->bookmark();
    }
    RunAutomaticFiling(session.dbConnection, *newTests, *session.rsKunden, bookmarks,
                       [](const QString &) { return false; });
    session.RequeryRecordsets();
}
