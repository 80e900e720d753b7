#pragma once

#include "data/ErrorReport.h"

// Shows reported errors in a modal message box with the error icon.
class MessageBoxPresenter : public ErrorPresenter
{
public:
    void presentError(const QString &title, const QString &message) override;
};
