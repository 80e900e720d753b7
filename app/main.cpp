#include "app/MessageBoxPresenter.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "data/ErrorReport.h"
#include "data/FileLocations.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "data/StringTable.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QLatin1String(FileLocations::programName));
    QApplication::setApplicationVersion(QStringLiteral(LUMETRA4_VERSION));

    MessageBoxPresenter presenter;
    ErrorReport::setPresenter(&presenter);
    StringTable::instance();

    FileLocations locations(FileLocations::resolveHomeFolder(QApplication::applicationDirPath()));
    if (!QDir().mkpath(locations.homeFolder())) {
        ErrorReport::ShowError({75, QStringLiteral("Main"),
                                QStringLiteral("Cannot create ") + locations.homeFolder()});
        return 1;
    }
    IniFile ini(locations.iniFile());
    locations.readPaths(ini);
    if (!ini.lastError().isEmpty())
        ErrorReport::ShowError({75, QStringLiteral("Main"), ini.lastError()});
    frmSplash splash(StringTable::instance().languageNo());
    splash.show();
    splash.holdOnTop(500);

    frmMain mainWindow(ini, locations, Settings::load(ini));
    mainWindow.show();
    splash.holdOnTop(500);
    splash.close();
    mainWindow.EnableMainMenus();

    // Used by the test suite: start, show the main window, and leave cleanly.
    if (QApplication::arguments().contains(QStringLiteral("--exit-after-start")))
        QTimer::singleShot(0, &mainWindow, &QWidget::close);
    return QApplication::exec();
}
