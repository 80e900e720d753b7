#pragma once

#include "options/CompanyLogo.h"
#include "options/OptionsApplier.h"
#include "options/OptionsChoices.h"
#include "options/OptionsQuestions.h"

#include <QDialog>

class DatabaseSession;
class FileLocations;
class IniFile;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class frmMain;

// The options dialog: company logo, graphics mode, infrared folder, deletion after a
// synchronisation, serial port and time-out, database and archive folders. Choices are kept
// until the user applies them (Übernehmen, or OK while there are unapplied changes).
class frmOptions : public QDialog, private OptionsQuestions
{
    Q_OBJECT
public:
    // availablePorts answers the bus library's port mask; by default the library is asked.
    frmOptions(frmMain &mainWindow, FileLocations &locations, IniFile &ini,
               DatabaseSession &session, OptionsApplier::PortMask availablePorts = &busPortMask);

    // True after the user adopted a database that another computer uses: the program ends.
    bool endsProgram() const { return m_endsProgram; }

    static std::optional<quint8> busPortMask();

protected:
    void reject() override;

private:
    bool ask(const QString &text) override;
    void inform(const QString &text) override;
    void fail(const RuntimeError &error) override;
    bool onlyMainAndOptionsOpen() override;

    QWidget *createLogoTab();
    QWidget *createGraphicsTab();
    QWidget *createInfraredTab();
    QWidget *createSynchronisationTab();
    QWidget *createPortTab();
    QWidget *createDatabaseTab();
    void connectChanges();
    void showChoices();
    void fillPortList();
    void showLogo(const QString &file);
    void changed();
    void chooseLogo();
    void deleteLogo();
    void browse(QLineEdit *folderText);
    void stepTimeOut(int step);
    void apply();
    void ok();

    frmMain &m_main;
    FileLocations &m_locations;
    CompanyLogo m_logo;
    OptionsApplier m_applier;
    OptionsApplier::PortMask m_availablePorts;
    OptionsChoices m_choices;
    bool m_loading = true;
    bool m_endsProgram = false;

    QTabWidget *SSTab1;
    QLabel *picLogo;
    QLabel *lblLogo;
    QRadioButton *optFast;
    QRadioButton *optSlow;
    QLineEdit *txtIRDA;
    QCheckBox *CheckPruefLoeschen;
    QComboBox *cbbPort;
    QCheckBox *CheckAutoCommPort;
    QLineEdit *txtTimeOut;
    QLineEdit *txtDATABASE;
    QCheckBox *CheckArchivLocation;
    QPushButton *cmdUebernehmen;
};
