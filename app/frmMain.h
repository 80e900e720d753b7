#pragma once

#include "data/Settings.h"

#include <QMainWindow>

class IniFile;
class QMdiArea;

// The main window: an MDI frame for the working windows.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    frmMain(IniFile &ini, const Settings &settings, QWidget *parent = nullptr);

    const Settings &settings() const { return m_settings; }

    // "Quennel Velmora GmbH - Lumetra 4 Desktop  V 1.12.0 / <date of the program file> "
    static QString windowCaption(const QString &programFile);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    IniFile &m_ini;
    Settings m_settings;
    QMdiArea *m_mdiArea;
};
