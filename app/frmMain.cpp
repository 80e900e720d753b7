#include "app/frmMain.h"

#include "app/LocaleFont.h"
#include "app/WindowPlacement.h"
#include "data/Localisation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMdiArea>

frmMain::frmMain(IniFile &ini, const Settings &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_ini(ini)
    , m_settings(settings)
    , m_mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setCentralWidget(m_mdiArea);
    setWindowTitle(windowCaption(QCoreApplication::applicationFilePath()));
    RestoreFormPosition(m_ini, this, 7450, 10000, 2);
}

QString frmMain::windowCaption(const QString &programFile)
{
    const QDateTime stamp = QFileInfo(programFile).lastModified();
    return QStringLiteral("Quennel Velmora GmbH - Lumetra 4 Desktop  V ")
           + QStringLiteral(LUMETRA4_VERSION) + QStringLiteral(" / ")
           + stamp.date().toString(fixedShortDateFormat()) + u' ';
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ApplyLocaleFont(this, true);
    QMainWindow::changeEvent(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    SaveFormPosition(m_ini, this);
    event->accept();
}
