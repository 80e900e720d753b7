#pragma once

#include <QString>

class QWidget;

// Every file and folder dialog the windows show goes through here, so tests can answer them.
// An empty result means the user cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // filter in the dialogs' "Text (*.db)|*.db|" form or Qt's "Text (*.db)" form.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                                 const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString folder(QWidget *parent, const QString &title, const QString &start) = 0;

    static FileDialogs &instance();
    // Replaces the dialogs (not owned); nullptr restores the real ones.
    static void install(FileDialogs *dialogs);

    // "A (*.x)|*.x|B (*.y)|*.y|" -> "A (*.x);;B (*.y)"
    static QString qtFilter(const QString &filter);
};
