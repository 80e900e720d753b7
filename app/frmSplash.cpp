#include "app/frmSplash.h"

#include "app/LocaleFont.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

frmSplash::frmSplash(int languageNo, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *picture = new QLabel(this);
    picture->setObjectName(languageNo == 1 ? QStringLiteral("ImageGerman")
                                           : QStringLiteral("ImageEnglish"));
    picture->setPixmap(QIcon(pictureFor(languageNo)).pixmap(480, 260));
    layout->addWidget(picture);
    ApplyLocaleFont(this, false);
}

QString frmSplash::pictureFor(int languageNo)
{
    return languageNo == 1 ? QStringLiteral(":/pictures/splash_de.svg")
                           : QStringLiteral(":/pictures/splash_en.svg");
}

void frmSplash::holdOnTop(int milliseconds)
{
    // The stays-on-top hint keeps the splash above the main window while events run.
    raise();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void frmSplash::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    raise();
}
