#pragma once

#include "data/RuntimeError.h"

#include <QString>

// How the options logic talks to its user: the dialog answers with message boxes, the tests
// from a script.
class OptionsQuestions
{
public:
    virtual ~OptionsQuestions() = default;
    // A Yes/No question about a change of files; No is the safe answer.
    virtual bool ask(const QString &text) = 0;
    virtual void inform(const QString &text) = 0;
    // A failure the user must know of; what it stopped has been undone.
    virtual void fail(const RuntimeError &error) = 0;
    // True when no window but the main window and the options dialog is open, which a change
    // of the database needs; otherwise the user has been told why not.
    virtual bool onlyMainAndOptionsOpen() = 0;
};
