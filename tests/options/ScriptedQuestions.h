#pragma once

#include "options/OptionsQuestions.h"

#include <QList>
#include <QStringList>

// Answers the options logic's questions from a list (No when it runs out) and records what it
// said.
class ScriptedQuestions : public OptionsQuestions
{
public:
    bool ask(const QString &text) override
    {
        asked << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void inform(const QString &text) override { informed << text; }
    void fail(const RuntimeError &error) override { failures << error; }
    bool onlyMainAndOptionsOpen() override { return mayChangeDatabase; }

    QList<bool> answers;
    QStringList asked;
    QStringList informed;
    QList<RuntimeError> failures;
    bool mayChangeDatabase = true;
};
