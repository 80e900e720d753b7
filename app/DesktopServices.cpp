#include "app/DesktopServices.h"

#include "app/MessageBoxes.h"
#include "data/StringTable.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {

void warn(QWidget *parent, int message)
{
    showWarning(parent, resString(message));
}

} // namespace

void OpenDocument(QWidget *parent, const QString &path)
{
    if (!QFileInfo::exists(path)) {
        warn(parent, 26037);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        warn(parent, 26038);
}

void OpenWebSite(QWidget *parent, const QUrl &address)
{
    if (!QDesktopServices::openUrl(address))
        warn(parent, 26024);
}
