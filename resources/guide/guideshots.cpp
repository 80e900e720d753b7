// Makes the user guide's screenshots from the program itself, in one language:
//   lumetra4-guideshots LANGUAGE OUTPUT_FOLDER
// Starts the program offscreen on a temporary home folder holding a small demo office (see
// GuideDemo), opens each window the guide shows and saves it as OUTPUT_FOLDER/<name>.png.
// Ends non-zero, naming the picture, when a window cannot be shown.
#include "GuideDemo.h"
#include "WindowShots.h"

#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/Program.h"
#include "app/frmMain.h"
#include "data/ErrorReport.h"
#include "data/StringTable.h"
#include "newtests/frmNeuePruefungen.h"
#include "statistics/frmAbfragen.h"
#include "sync/ui/frmLumetra4.h"

#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>

namespace {

// Answers every message box (questions with No) and every file dialog with the demo's
// customer file, so no dialog waits for a user.
class Answers : public MessageBoxes, public FileDialogs
{
public:
    explicit Answers(QString file) : m_file(std::move(file))
    {
        MessageBoxes::install(this);
        FileDialogs::install(this);
    }
    ~Answers() override
    {
        MessageBoxes::install(nullptr);
        FileDialogs::install(nullptr);
    }
    void show(QWidget *, Icon, const QString &, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool ask(QWidget *, const QString &, const QString &, bool) override { return false; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return m_file;
    }
    QString folder(QWidget *, const QString &, const QString &) override { return {}; }

private:
    QString m_file;
};

// Reports run-time errors on the console instead of in a box.
class ConsolePresenter : public ErrorPresenter
{
public:
    void presentError(const QString &title, const QString &message) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(message));
    }
};

template<typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromUtf8(name));
    if (!widget)
        throw ShotFailure{QStringLiteral("no widget %1").arg(QLatin1String(name))};
    return widget;
}

void openFromMenu(frmMain &main, const char *item)
{
    QAction *action = main.menuItem(QLatin1String(item));
    if (!action || !action->isEnabled())
        throw ShotFailure{QStringLiteral("menu item %1 is not available").arg(item)};
    action->trigger();
    settle();
}

void takeShots(Program &program, WindowShots &shots)
{
    frmMain &main = *program.mainWindow();
    shots.mainWindow(QStringLiteral("main-window"));
    shots.menu(QStringLiteral("file-menu"), child<QMenu>(&main, "mnuDatei"));
    shots.menu(QStringLiteral("sync-menu"), child<QMenu>(&main, "mnuEditSynchronisierung"),
               child<QMenu>(&main, "mnuEdit"));

    {
        frmLumetra4 sync(frmLumetra4::Mode::Serial, main.settings(), program.session(), &main);
        sync.show();
        shots.widget(QStringLiteral("synchronisation"), &sync);
    }

    openFromMenu(main, "mnuEditNeukundenpflege");
    auto *newTests = qobject_cast<frmNeuePruefungen *>(main.activeChild());
    if (!newTests)
        throw ShotFailure{QStringLiteral("the new tests window did not open")};
    shots.mainWindow(QStringLiteral("new-tests"));
    newTests->setDialogRunner([&shots](QDialog &dialog) {
        dialog.show();
        shots.widget(QStringLiteral("filing"), &dialog);
        dialog.reject();
    });
    newTests->CLICK_EINPFLEGEN_MANUELL();
    shots.closeChildren();

    openFromMenu(main, "mnuAbfragen");
    auto *statistics = qobject_cast<frmAbfragen *>(main.activeChild());
    if (!statistics)
        throw ShotFailure{QStringLiteral("the statistics window did not open")};
    // The filed tests, the first of them (the demo's tightness test, with curves) current.
    child<QComboBox>(statistics, "cbbKunden")->setCurrentIndex(0);
    settle();
    shots.mainWindow(QStringLiteral("statistics-list"));
    shots.menu(QStringLiteral("export-menu"), child<QMenu>(&main, "mnuPopExport"),
               main.toolButton(QStringLiteral("Exportieren")));
    QTableView *grid = statistics->grid();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    child<QTabWidget>(statistics, "SSTab1")->setCurrentIndex(1);
    shots.mainWindow(QStringLiteral("statistics-data"));
    child<QTabWidget>(statistics, "SSTab1")->setCurrentIndex(0);
    statistics->CLICK_VORSCHAU();
    shots.mainWindow(QStringLiteral("protocol-preview"));
    shots.closeChildren();

    openFromMenu(main, "mnuEditKunden");
    shots.mainWindow(QStringLiteral("customers"));
    shots.closeChildren();

    // The port tab: the page the guide's troubleshooting refers to.
    shots.whenModal(QStringLiteral("options"), [](QWidget *dialog) {
        auto *tabs = child<QTabWidget>(dialog, "SSTab1");
        tabs->setCurrentIndex(tabs->count() - 2);
    });
    openFromMenu(main, "mnuExtrasOptionen");
    shots.check();

    shots.whenModal(QStringLiteral("import-mapping"), [](QWidget *assistant) {
        child<QPushButton>(assistant, "cmdWeiter")->click();
        settle();
    });
    openFromMenu(main, "mnuDateiImport");
    shots.check();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LANGUAGE OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    // Dates and numbers in the pictures follow the language's usual locale.
    const QHash<QByteArray, QByteArray> locales{
        {"de", "de_DE"}, {"en", "en_US"}, {"en_GB", "en_GB"}, {"it", "it_IT"}, {"pl", "pl_PL"},
        {"hu", "hu_HU"}, {"sl", "sl_SI"}, {"hr", "hr_HR"}, {"cs", "cs_CZ"}};
    qputenv("LUMETRA4_LANG", argv[1]);
    qputenv("LC_ALL", locales.value(argv[1], "en_US") + ".UTF-8");
    QApplication app(argc, argv);
    StringTable::setLanguage(QString::fromLocal8Bit(argv[1]));

    ConsolePresenter presenter;
    ErrorReport::setPresenter(&presenter);
    const GuideDemo demo(QStringLiteral(LUMETRA4_GUIDE_DEMO));
    Answers answers(demo.customerFile());
    QTemporaryDir home;
    Program program(home.path());
    if (!home.isValid() || !program.Main()) {
        std::fprintf(stderr, "the program did not start on %s\n", qPrintable(home.path()));
        return 1;
    }
    try {
        demo.fill(program.session());
        WindowShots shots(*program.mainWindow(), QString::fromLocal8Bit(argv[2]));
        takeShots(program, shots);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    } catch (const ShotFailure &failure) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.text));
        return 1;
    }
    program.mainWindow()->close();
    return 0;
}
