#include "app/DisplayStartGuard.h"
#include "app/MessageBoxPresenter.h"
#include "app/Program.h"
#include "app/frmMain.h"
#include "data/ErrorReport.h"

#include <QApplication>
#include <QTimer>

#include <optional>

int main(int argc, char *argv[])
{
    std::optional<DisplayStartGuard> displayGuard(std::in_place);
    QApplication app(argc, argv);
    displayGuard.reset();
    QApplication::setApplicationName(QLatin1String(FileLocations::programName));
    QApplication::setApplicationDisplayName(QStringLiteral("Lumetra 4 Desktop"));
    QApplication::setApplicationVersion(QStringLiteral(LUMETRA4_VERSION));

    MessageBoxPresenter presenter;
    ErrorReport::setPresenter(&presenter);

    Program program(FileLocations::resolveHomeFolder(QApplication::applicationDirPath()));
    if (!program.Main())
        return 1;

    // Used by the test suite: start, show the main window, and leave cleanly.
    if (QApplication::arguments().contains(QStringLiteral("--exit-after-start")))
        QTimer::singleShot(0, program.mainWindow(), &QWidget::close);
    return QApplication::exec();
}
