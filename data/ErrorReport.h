#pragma once

#include "data/RuntimeError.h"

// Where a reported error goes: a message box in the program, stderr in the command line front
// end, a list in the tests.
class ErrorPresenter
{
public:
    virtual ~ErrorPresenter() = default;
    virtual void presentError(const QString &title, const QString &message) = 0;
};

// The standard report of an unexpected run-time error. Holds the pending error of the
// single user-interface thread.
class ErrorReport
{
public:
    static void raise(qint32 number, const QString &source, const QString &description);
    static void raise(const RuntimeError &error);
    static const RuntimeError &current();
    static void clear();

    // Reports the pending error, if any, and clears it.
    static void ShowError();
    // Raises and reports in one step, for handlers that caught an exception.
    static void ShowError(const RuntimeError &error);

    static QString title();
    static QString messageText(const RuntimeError &error);

    // The presenter is not owned; nullptr restores the default (stderr).
    static void setPresenter(ErrorPresenter *presenter);
};
