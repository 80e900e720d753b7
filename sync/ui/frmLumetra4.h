#pragma once

#include "data/Settings.h"

#include <QDialog>

#include <memory>

class DatabaseSession;
class QLabel;
class QProgressBar;
class QPushButton;
class SerialSynchronisation;
struct SerialSyncSettings;

// The synchronisation window: reads the instruments over the serial line, or the infrared
// folder's test files, into the database as new tests, with progress and a cancel button.
//
// In serial mode the bus work runs on a worker thread, so the window stays responsive; the
// database is written on the window's own thread.
class frmLumetra4 : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Serial = 7, Infrared = 8 };

    frmLumetra4(Mode mode, const Settings &settings, DatabaseSession &session,
                QWidget *parent = nullptr);
    ~frmLumetra4() override;

    // Runs the synchronisation modally; true when new tests were stored.
    bool runModal();
    bool openNewTestsAfterSync() const { return m_openNewTestsAfterSync; }

protected:
    void reject() override;

private:
    void runSerial();
    void runInfrared();
    void storeAndDelete(SerialSynchronisation &run);
    void showOutcome(int outcome, SerialSynchronisation &run);
    void setStage(int stringNumber);
    // Runs work on a worker thread while this window keeps handling events.
    void onWorker(const std::function<void()> &work);

    Mode m_mode;
    Settings m_settings;
    DatabaseSession &m_session;
    bool m_openNewTestsAfterSync = false;
    bool m_stopRequested = false;
    std::function<void()> m_stop;
    QLabel *lblBeschreibung;
    QLabel *lblGeraet;
    QLabel *lblVorgang;
    QProgressBar *ProgressBar1;
    QProgressBar *Animation1;
    QPushButton *Command2;
};
