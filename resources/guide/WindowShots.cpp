#include "WindowShots.h"

#include "app/frmMain.h"
#include "data/Localisation.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

namespace {

// Large enough for the statistics window's criteria, small enough to stay readable when the
// picture is scaled to the width of a printed page.
const QSize mainWindowSize(1070, 780);
// The day the guide's pictures show in the status bar.
const QDate pictureDate(2024, 3, 20);
constexpr int modalWaitMilliseconds = 20000;

// Where the menu opens, in the main window's coordinates; opens it there.
QPoint openMenu(frmMain &main, QMenu *menu, QWidget *anchor)
{
    QPoint position;
    if (auto *parentMenu = qobject_cast<QMenu *>(anchor)) {
        position = openMenu(main, parentMenu, nullptr)
                   + parentMenu->actionGeometry(menu->menuAction()).topRight();
    } else if (anchor) {
        position = anchor->mapTo(&main, anchor->rect().bottomLeft());
    } else {
        QMenuBar *bar = main.menuBar();
        position = bar->mapTo(&main, bar->actionGeometry(menu->menuAction()).bottomLeft());
    }
    menu->popup(main.mapToGlobal(position));
    settle();
    return position;
}

} // namespace

void settle()
{
    for (int round = 0; round < 3; ++round) {
        QEventLoop loop;
        QTimer::singleShot(30, &loop, &QEventLoop::quit);
        loop.exec();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

WindowShots::WindowShots(frmMain &main, const QString &folder)
    : m_main(main)
    , m_folder(folder)
{
    if (!m_folder.mkpath(QStringLiteral(".")))
        throw ShotFailure{QStringLiteral("cannot make the folder %1").arg(folder)};
    m_main.resize(mainWindowSize);
    const QString today = QLocale::system().toString(QDate::currentDate(),
                                                      fixedShortDateFormat());
    const QString shown = QLocale::system().toString(pictureDate, fixedShortDateFormat());
    for (QLabel *label : m_main.statusBar()->findChildren<QLabel *>()) {
        if (label->text() == today)
            label->setText(shown);
    }
    settle();
}

void WindowShots::mainWindow(const QString &name)
{
    if (QMdiSubWindow *active = m_main.mdiArea()->activeSubWindow())
        active->showMaximized();
    settle();
    save(name, m_main.grab().toImage());
}

void WindowShots::widget(const QString &name, QWidget *widget)
{
    settle();
    save(name, widget->grab().toImage());
}

void WindowShots::menu(const QString &name, QMenu *menu, QWidget *anchor)
{
    settle();
    QImage picture = m_main.grab().toImage();
    QPainter painter(&picture);
    if (auto *parentMenu = qobject_cast<QMenu *>(anchor)) {
        const QPoint parentPosition = openMenu(m_main, parentMenu, nullptr);
        painter.drawPixmap(parentPosition, parentMenu->grab());
    }
    const QPoint position = openMenu(m_main, menu, anchor);
    painter.drawPixmap(position, menu->grab());
    painter.end();
    menu->hide();
    if (auto *parentMenu = qobject_cast<QMenu *>(anchor))
        parentMenu->hide();
    settle();
    save(name, picture);
}

void WindowShots::whenModal(const QString &name, std::function<void(QWidget *)> prepare)
{
    m_pendingModal = name;
    auto *timer = new QTimer(&m_main);
    const QDeadlineTimer deadline(modalWaitMilliseconds);
    // Exceptions must not cross the event loop: a failure is kept for check().
    QObject::connect(timer, &QTimer::timeout, &m_main, [=, this] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog)
            return;
        try {
            prepare(dialog);
            widget(name, dialog);
            m_pendingModal.clear();
        } catch (const ShotFailure &failure) {
            m_failure = failure.text;
        }
        if (auto *box = qobject_cast<QDialog *>(dialog))
            box->reject();
        else
            dialog->close();
    });
    timer->start(50);
}

void WindowShots::check()
{
    if (!m_failure.isEmpty())
        throw ShotFailure{std::exchange(m_failure, {})};
    if (!m_pendingModal.isEmpty()) {
        throw ShotFailure{QStringLiteral("the window of %1 did not open")
                              .arg(std::exchange(m_pendingModal, {}))};
    }
}

void WindowShots::closeChildren()
{
    m_main.mdiArea()->closeAllSubWindows();
    settle();
}

void WindowShots::save(const QString &name, const QImage &image)
{
    const QString path = m_folder.filePath(name + QStringLiteral(".png"));
    if (image.isNull() || !image.save(path))
        throw ShotFailure{QStringLiteral("cannot write %1").arg(path)};
}
