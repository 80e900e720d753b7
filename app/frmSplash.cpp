#include "app/frmSplash.h"

#include "app/LocaleFont.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
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
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        raise();
    }
}

void frmSplash::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    raise();
}
