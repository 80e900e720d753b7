#pragma once

#include "app/FileDialogs.h"

#include <QStringList>

// Answers file dialogs from a list (cancel when it runs out) and records their titles;
// installs itself for its lifetime.
class ScriptedFileDialogs : public FileDialogs
{
public:
    ScriptedFileDialogs() { FileDialogs::install(this); }
    ~ScriptedFileDialogs() override { FileDialogs::install(nullptr); }

    QString saveFileName(QWidget *, const QString &title, const QString &proposed,
                         const QString &) override
    {
        titles << title;
        proposals << proposed;
        return next();
    }
    QString openFileName(QWidget *, const QString &title, const QString &, const QString &) override
    {
        titles << title;
        return next();
    }
    QString folder(QWidget *, const QString &title, const QString &) override
    {
        titles << title;
        return next();
    }

    QStringList answers;
    QStringList titles;
    QStringList proposals;

private:
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};
