#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

class RealMessageBoxes : public MessageBoxes
{
public:
    void show(QWidget *parent, Icon icon, const QString &title, const QString &text) override
    {
        const QMessageBox::Icon boxIcon = icon == Icon::Information ? QMessageBox::Information
                                          : icon == Icon::Warning   ? QMessageBox::Warning
                                          : icon == Icon::Critical  ? QMessageBox::Critical
                                                                    : QMessageBox::NoIcon;
        QMessageBox box(boxIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
    }

    bool ask(QWidget *parent, const QString &title, const QString &text, bool defaultNo) override
    {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     defaultNo ? QMessageBox::No : QMessageBox::Yes)
               == QMessageBox::Yes;
    }
};

RealMessageBoxes realBoxes;
MessageBoxes *current = &realBoxes;

QString programTitle()
{
    return QStringLiteral("Lumetra 4 Desktop");
}

} // namespace

MessageBoxes &MessageBoxes::instance()
{
    return *current;
}

void MessageBoxes::install(MessageBoxes *boxes)
{
    current = boxes ? boxes : &realBoxes;
}

void showInformation(QWidget *parent, const QString &text)
{
    current->show(parent, MessageBoxes::Icon::Information, programTitle(), text);
}

void showWarning(QWidget *parent, const QString &text)
{
    current->show(parent, MessageBoxes::Icon::Warning, programTitle(), text);
}

void showCritical(QWidget *parent, const QString &text, const QString &title)
{
    current->show(parent, MessageBoxes::Icon::Critical, title.isEmpty() ? programTitle() : title,
                  text);
}

bool askYesNo(QWidget *parent, const QString &text, bool defaultNo)
{
    return current->ask(parent, programTitle(), text, defaultNo);
}
