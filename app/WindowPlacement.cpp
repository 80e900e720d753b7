#include "app/WindowPlacement.h"

#include "data/ErrorReport.h"
#include "data/FormPosition.h"
#include "data/IniFile.h"

#include <QWidget>

namespace {

double dpiOf(const QWidget *window)
{
    return window->logicalDpiY() > 0 ? window->logicalDpiY() : 96.0;
}

} // namespace

void SaveFormPosition(IniFile &ini, const QWidget *window)
{
    FormPlacement placement;
    if (window->isMinimized())
        placement.state = FormPlacement::Minimised;
    else if (window->isMaximized())
        placement.state = FormPlacement::Maximised;
    const double dpi = dpiOf(window);
    const QRect g = window->geometry();
    placement.left = static_cast<qint16>(pixelsToTwips(g.x(), dpi));
    placement.top = static_cast<qint16>(pixelsToTwips(g.y(), dpi));
    placement.height = static_cast<qint16>(pixelsToTwips(g.height(), dpi));
    placement.width = static_cast<qint16>(pixelsToTwips(g.width(), dpi));
    if (!SaveFormPosition(ini, window->objectName(), placement))
        ErrorReport::ShowError({75, QStringLiteral("SaveFormPosition"), ini.lastError()});
}

void RestoreFormPosition(const IniFile &ini, QWidget *window, qint16 defaultHeight,
                         qint16 defaultWidth, qint16 defaultState)
{
    const FormPlacement p =
        RestoreFormPosition(ini, window->objectName(), defaultHeight, defaultWidth, defaultState);
    const double dpi = dpiOf(window);
    window->setGeometry(twipsToPixels(p.left, dpi), twipsToPixels(p.top, dpi),
                        twipsToPixels(p.width, dpi), twipsToPixels(p.height, dpi));
    if (p.state == FormPlacement::Maximised)
        window->setWindowState(Qt::WindowMaximized);
    else if (p.state == FormPlacement::Minimised)
        window->setWindowState(Qt::WindowMinimized);
}
