#include "app/MessageBoxPresenter.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxPresenter::presentError(const QString &title, const QString &message)
{
    QMessageBox::critical(QApplication::activeWindow(), title, message);
}
