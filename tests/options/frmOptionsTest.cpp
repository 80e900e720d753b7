#include "OptionsFixture.h"

#include "app/frmMain.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/FileLocations.h"
#include "data/IniFile.h"
#include "data/ProgramDatabase.h"
#include "data/StringTable.h"
#include "options/frmOptions.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ScriptedFileDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// One program's worth of settings, database and main window around the dialog.
struct OptionsWorld
{
    explicit OptionsWorld(const Settings &settings = {})
        : locations(home.path())
        , ini(locations.iniFile())
    {
        OptionsFixture::createDatabase(locations.dbFile, QStringLiteral("old"));
        openProgramDatabase(session, locations.dbFile);
        main = std::make_unique<frmMain>(ini, locations, settings);
    }
    std::unique_ptr<frmOptions> open(quint8 ports = 0x05)
    {
        return std::make_unique<frmOptions>(*main, locations, ini, session,
                                            [ports] { return std::optional<quint8>(ports); });
    }
    QString key(const char *section, const char *name)
    {
        return ini.read(QLatin1String(section), QLatin1String(name), QStringLiteral("<none>"));
    }

    QTemporaryDir home;
    FileLocations locations;
    IniFile ini;
    DatabaseSession session;
    std::unique_ptr<frmMain> main;
};

template<typename T>
T *control(QWidget *dialog, const char *name)
{
    T *widget = dialog->findChild<T *>(QString::fromUtf8(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void click(QWidget *dialog, const char *button)
{
    QTest::mouseClick(control<QPushButton>(dialog, button), Qt::LeftButton);
}

void type(QWidget *dialog, const char *field, const QString &text)
{
    auto *edit = control<QLineEdit>(dialog, field);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

class frmOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
    }

    void opensWithTheSettings()
    {
        Settings settings;
        settings.commPort = 3;
        OptionsWorld world(settings);
        auto dialog = world.open();
        QCOMPARE(dialog->objectName(), QStringLiteral("frmOptions"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Optionen"));
        QCOMPARE(control<QTabWidget>(dialog.get(), "SSTab1")->count(), 6);
        auto *ports = control<QComboBox>(dialog.get(), "cbbPort");
        QCOMPARE(ports->count(), 2);
        QCOMPARE(ports->itemData(0).toInt(), 1);
        QCOMPARE(ports->itemData(1).toInt(), 3);
        QVERIFY(ports->itemText(1).startsWith(QStringLiteral("COM3 (")));
        QCOMPARE(ports->currentIndex(), 1);
        QVERIFY(!ports->isEnabled()); // automatic port search is on
        QVERIFY(control<QRadioButton>(dialog.get(), "OptGrafikmodus0")->isChecked());
        QCOMPARE(control<QLineEdit>(dialog.get(), "txtTimeOut")->text(), QStringLiteral("3000"));
        QCOMPARE(control<QLineEdit>(dialog.get(), "txtDATABASE")->text(),
                 world.locations.dbFolder);
        QVERIFY(!control<QCheckBox>(dialog.get(), "CheckArchivLocation")->isChecked());
        QVERIFY(control<QPushButton>(dialog.get(), "cmdSystemsteuerung")->isHidden());
        QVERIFY(!control<QPushButton>(dialog.get(), "cmdÜbernehmen")->isEnabled());
        QVERIFY(!control<QLabel>(dialog.get(), "lblLogo")->isHidden());
    }

    void portNotAvailableIsNotSelected()
    {
        Settings settings;
        settings.autoCommPort = false;
        settings.commPort = 4;
        OptionsWorld world(settings);
        auto dialog = world.open();
        auto *ports = control<QComboBox>(dialog.get(), "cbbPort");
        QCOMPARE(ports->currentIndex(), -1);
        QVERIFY(ports->isEnabled());
    }

    void applies_data()
    {
        QTest::addColumn<QString>("timeOut");
        QTest::addColumn<QString>("stored");
        QTest::newRow("200") << "200" << "500";
        QTest::newRow("45000") << "45000" << "30000";
        QTest::newRow("abc") << "abc" << "3000";
        QTest::newRow("1500") << "1500" << "1500";
    }
    void applies()
    {
        QFETCH(QString, timeOut);
        QFETCH(QString, stored);
        OptionsWorld world;
        world.locations.archiveFolder = world.locations.dbFolder;
        auto dialog = world.open();
        QVERIFY(control<QCheckBox>(dialog.get(), "CheckArchivLocation")->isChecked());
        control<QRadioButton>(dialog.get(), "OptGrafikmodus1")->click();
        control<QCheckBox>(dialog.get(), "CheckPruefLoeschen")->click();
        control<QCheckBox>(dialog.get(), "CheckAutoCommPort")->click();
        auto *ports = control<QComboBox>(dialog.get(), "cbbPort");
        QVERIFY(ports->isEnabled());
        ports->setCurrentIndex(1);
        emit ports->activated(1);
        type(dialog.get(), "txtTimeOut", timeOut);
        control<QCheckBox>(dialog.get(), "CheckArchivLocation")->click();
        QVERIFY(control<QPushButton>(dialog.get(), "cmdÜbernehmen")->isEnabled());

        click(dialog.get(), "cmdÜbernehmen");
        QVERIFY(!control<QPushButton>(dialog.get(), "cmdÜbernehmen")->isEnabled());
        QCOMPARE(control<QLineEdit>(dialog.get(), "txtTimeOut")->text(), stored);
        QCOMPARE(world.key("frmMain", "TimeOut"), stored);
        QCOMPARE(world.key("frmMain", "GrafikmodusSchnell"), QStringLiteral("0"));
        QCOMPARE(world.key("frmMain", "DeleteSyncedPruef"), QStringLiteral("-1"));
        QCOMPARE(world.key("frmMain", "AutoCommPort"), QStringLiteral("0"));
        QCOMPARE(world.key("frmMain", "CommPort"), QStringLiteral("3"));
        QCOMPARE(world.key("Pfade", "Archiv"), QString());
        QCOMPARE(world.locations.archiveFolder, QString());
        const Settings &now = world.main->settings();
        QCOMPARE(int(now.timeOut), stored.toInt());
        QVERIFY(!now.grafikmodusSchnell);
        QVERIFY(now.deleteSyncedPruef);
        QCOMPARE(int(now.commPort), 3);
    }

    void cancelKeepsEverything()
    {
        OptionsWorld world;
        world.locations.archiveFolder = world.locations.dbFolder;
        ScriptedFileDialogs files;
        files.answers << OptionsFixture::writePng(world.home.filePath(QStringLiteral("l.png")));
        auto dialog = world.open();
        type(dialog.get(), "txtTimeOut", QStringLiteral("900"));
        control<QCheckBox>(dialog.get(), "CheckArchivLocation")->click();
        click(dialog.get(), "cmdLogoÄndern");
        click(dialog.get(), "cmdCancel");
        QCOMPARE(world.key("frmMain", "TimeOut"), QStringLiteral("<none>"));
        QCOMPARE(world.main->settings().timeOut, qint16(3000));
        QCOMPARE(world.locations.archiveFolder, world.locations.dbFolder);
        QVERIFY(QDir(world.locations.logoFolder()).entryList(QDir::Files).isEmpty());
    }

    void okAppliesPendingChanges()
    {
        OptionsWorld world;
        auto dialog = world.open();
        type(dialog.get(), "txtTimeOut", QStringLiteral("4000"));
        click(dialog.get(), "cmdOK");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(world.key("frmMain", "TimeOut"), QStringLiteral("4000"));
    }

    void logoChosenShownAndDeleted()
    {
        OptionsWorld world;
        CapturingPresenter errors;
        ScriptedFileDialogs files;
        const QString notPicture = world.home.filePath(QStringLiteral("notes.png"));
        QFile text(notPicture);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("no picture");
        text.close();
        files.answers << notPicture
                      << OptionsFixture::writePng(world.home.filePath(QStringLiteral("wide.png")));
        auto dialog = world.open();
        click(dialog.get(), "cmdLogoÄndern");
        QCOMPARE(errors.messages.size(), 1); // the text file is refused, the dialog shown again
        QVERIFY(errors.messages.first().contains(resString(25638).arg(notPicture)));
        QCOMPARE(files.titles.size(), 2);
        auto *picture = control<QLabel>(dialog.get(), "picLogo");
        QVERIFY(!picture->isHidden());
        QVERIFY(control<QLabel>(dialog.get(), "lblLogo")->isHidden());
        // Wider than high: the full width of the box, half its height.
        QCOMPARE(picture->pixmap().width(), picture->width());
        QCOMPARE(picture->pixmap().height(), picture->width() / 2);
        QVERIFY(world.locations.logoFile().isEmpty()); // not in use before it is applied

        click(dialog.get(), "cmdÜbernehmen");
        QCOMPARE(world.locations.logoFile(), world.locations.logoFolder() + "/Firma.png");
        click(dialog.get(), "cmdLogoLöschen");
        QVERIFY(!control<QLabel>(dialog.get(), "lblLogo")->isHidden());
        QVERIFY(!world.locations.logoFile().isEmpty());
        click(dialog.get(), "cmdÜbernehmen");
        QVERIFY(world.locations.logoFile().isEmpty());
    }

    void changesTheDatabaseFolder()
    {
        OptionsWorld world;
        RecordingMessageBoxes boxes;
        boxes.answers << true;
        ScriptedFileDialogs files;
        const QString elsewhere = world.home.filePath(QStringLiteral("elsewhere"));
        QDir().mkpath(elsewhere);
        files.answers << elsewhere;
        auto dialog = world.open();
        click(dialog.get(), "cmdDATABASEChange");
        QCOMPARE(files.titles, QStringList{resString(25568)});
        QCOMPARE(control<QLineEdit>(dialog.get(), "txtDATABASE")->text(), elsewhere);
        click(dialog.get(), "cmdÜbernehmen");
        QCOMPARE(boxes.questions.size(), 1);
        QCOMPARE(boxes.texts(), QStringList{resString(25588)});
        QCOMPARE(world.locations.dbFolder, elsewhere);
        QCOMPARE(world.key("Pfade", "Datenbank"), elsewhere);
        QCOMPARE(OptionsFixture::markerOf(world.session.dbConnection), QStringLiteral("old"));
        QCOMPARE(QFileInfo(world.session.dbConnection.filePath()).canonicalFilePath(),
                 QFileInfo(elsewhere + QStringLiteral("/Lumetra4Desktop.db")).canonicalFilePath());
    }

    void refusedFolderRestoresTheText()
    {
        OptionsWorld world;
        RecordingMessageBoxes boxes;
        CapturingPresenter errors;
        auto dialog = world.open();
        const QString missing = world.home.filePath(QStringLiteral("missing"));
        type(dialog.get(), "txtDATABASE", missing);
        click(dialog.get(), "cmdÜbernehmen");
        QCOMPARE(control<QLineEdit>(dialog.get(), "txtDATABASE")->text(),
                 world.locations.dbFolder);
        QCOMPARE(world.locations.dbFolder, world.home.path());
        QVERIFY(boxes.questions.isEmpty());
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages.first().contains(resString(25631).arg(missing)));
    }

    void screenshot()
    {
        const QString path = qEnvironmentVariable("LUMETRA4_SCREENSHOT");
        if (path.isEmpty())
            QSKIP("set LUMETRA4_SCREENSHOT to write the picture");
        Settings settings;
        settings.autoCommPort = false;
        settings.commPort = 3;
        OptionsWorld world(settings);
        auto dialog = world.open();
        control<QTabWidget>(dialog.get(), "SSTab1")->setCurrentIndex(4);
        dialog->resize(dialog->sizeHint().width(), 320);
        dialog->show();
        QVERIFY(dialog->grab().save(path));
    }
};

QTEST_MAIN(frmOptionsTest)
#include "frmOptionsTest.moc"
