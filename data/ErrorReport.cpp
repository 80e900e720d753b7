#include "data/ErrorReport.h"

#include "data/StringTable.h"

#include <cstdio>

namespace {

class StderrPresenter : public ErrorPresenter
{
public:
    void presentError(const QString &title, const QString &message) override
    {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(title), qPrintable(message));
    }
};

StderrPresenter stderrPresenter;
ErrorPresenter *presenter = &stderrPresenter;
RuntimeError pending;

} // namespace

void ErrorReport::raise(qint32 number, const QString &source, const QString &description)
{
    pending = RuntimeError{number, source, description};
}

void ErrorReport::raise(const RuntimeError &error)
{
    pending = error;
}

const RuntimeError &ErrorReport::current()
{
    return pending;
}

void ErrorReport::clear()
{
    pending = RuntimeError{};
}

QString ErrorReport::title()
{
    return QStringLiteral("Lumetra 4 Desktop") + resString(26005);
}

QString ErrorReport::messageText(const RuntimeError &error)
{
    return resString(26014) + error.source + u'\n' + resString(26015)
           + QString::number(error.number) + u'\n' + resString(26016) + error.description;
}

void ErrorReport::ShowError()
{
    if (pending.number != 0) {
        const RuntimeError error = pending;
        clear(); // before presenting: a modal box may run handlers that raise again
        presenter->presentError(title(), messageText(error));
    }
    clear();
}

void ErrorReport::ShowError(const RuntimeError &error)
{
    raise(error);
    ShowError();
}

void ErrorReport::setPresenter(ErrorPresenter *newPresenter)
{
    presenter = newPresenter ? newPresenter : &stderrPresenter;
}
