#pragma once

#include <QString>

class QWidget;

// Every message box the windows show goes through here, so tests can answer them.
class MessageBoxes
{
public:
    enum class Icon { Information, Warning, Critical, Plain };

    virtual ~MessageBoxes() = default;
    virtual void show(QWidget *parent, Icon icon, const QString &title, const QString &text) = 0;
    // A Yes/No question; destructive questions pass defaultNo so that Enter answers No.
    virtual bool ask(QWidget *parent, const QString &title, const QString &text,
                     bool defaultNo) = 0;

    // The boxes of this process; real message boxes unless replaced.
    static MessageBoxes &instance();
    // Replaces the boxes (not owned); nullptr restores the real ones.
    static void install(MessageBoxes *boxes);
};

// Shorthands with the program's title.
void showInformation(QWidget *parent, const QString &text);
void showWarning(QWidget *parent, const QString &text);
void showCritical(QWidget *parent, const QString &text, const QString &title = {});
bool askYesNo(QWidget *parent, const QString &text, bool defaultNo = true);
