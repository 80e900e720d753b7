#pragma once

#include "app/MessageBoxes.h"

#include <QList>
#include <QStringList>

// Records every message box and answers questions from a list (No when it runs out);
// installs itself for its lifetime.
class RecordingMessageBoxes : public MessageBoxes
{
public:
    struct Shown
    {
        Icon icon;
        QString title;
        QString text;
    };

    RecordingMessageBoxes() { MessageBoxes::install(this); }
    ~RecordingMessageBoxes() override { MessageBoxes::install(nullptr); }

    void show(QWidget *, Icon icon, const QString &title, const QString &text) override
    {
        shown << Shown{icon, title, text};
    }
    bool ask(QWidget *, const QString &, const QString &text, bool) override
    {
        questions << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Shown &box : shown)
            all << box.text;
        return all;
    }

    QList<Shown> shown;
    QStringList questions;
    QList<bool> answers;
};
