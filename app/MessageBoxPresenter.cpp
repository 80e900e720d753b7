#include "app/MessageBoxPresenter.h"

#include "app/MessageBoxes.h"

#include <QApplication>

void MessageBoxPresenter::presentError(const QString &title, const QString &message)
{
    MessageBoxes::instance().show(QApplication::activeWindow(), MessageBoxes::Icon::Critical,
                                  title, message);
}
