#include "masterdata/import/ImportCommands.h"

#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/frmMain.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/StringTable.h"
#include "masterdata/import/DatabaseMigration.h"
#include "masterdata/import/ImportConnectionString.h"
#include "masterdata/import/ImportSourceFactory.h"
#include "masterdata/import/MdbSource.h"
#include "masterdata/import/frmImport.h"

#include <QApplication>
#include <QFileInfo>

namespace {

class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void RunCustomerImportCommand(frmMain &main, DatabaseSession &session)
{
    const QString filter = resString(25353) + resString(25354) + resString(25340)
                           + resString(25355) + resString(25356);
    QString file;
    QString type;
    do {
        file = FileDialogs::instance().openFileName(&main, resString(25286), {}, filter);
        if (file.isEmpty())
            return;
        BuildImportConnectionString(file, QFileInfo(file).fileName(), &type);
    } while (!IsImportFileType(type));

    QCoreApplication::processEvents();
    frmImport assistant(session, file, &main.progress(), &main);
    if (assistant.openSource())
        assistant.exec();
    BusyCursor busy;
    session.RequeryRecordsets();
}

void RunMigrationCommand(frmMain &main, DatabaseSession &session)
{
    const QString file = FileDialogs::instance().openFileName(
        &main, resString(25330).remove(QStringLiteral("...")), {}, resString(25341));
    if (file.isEmpty())
        return;
    QString message;
    try {
        BusyCursor busy;
        MdbSource source(file);
        message = MigrationMessage(MigrateDatabase(session.dbConnection, source));
        session.RequeryRecordsets();
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return;
    }
    showInformation(&main, message);
}
