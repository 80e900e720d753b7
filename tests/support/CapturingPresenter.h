#pragma once

#include "data/ErrorReport.h"

#include <QStringList>

// Collects reported errors instead of showing them; installs itself for its lifetime.
class CapturingPresenter : public ErrorPresenter
{
public:
    CapturingPresenter() { ErrorReport::setPresenter(this); }
    ~CapturingPresenter() override { ErrorReport::setPresenter(nullptr); }

    void presentError(const QString &title, const QString &message) override
    {
        titles << title;
        messages << message;
    }

    QStringList titles;
    QStringList messages;
};
