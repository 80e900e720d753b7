#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace {

class RealFileDialogs : public FileDialogs
{
public:
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                         const QString &filter) override
    {
        // Our own question answers an existing name, so the dialog does not ask to replace.
        return QFileDialog::getSaveFileName(parent, title, proposed, qtFilter(filter), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, folder, qtFilter(filter));
    }
    QString folder(QWidget *parent, const QString &title, const QString &start) override
    {
        return QFileDialog::getExistingDirectory(parent, title, start);
    }
};

RealFileDialogs realDialogs;
FileDialogs *current = &realDialogs;

} // namespace

FileDialogs &FileDialogs::instance()
{
    return *current;
}

void FileDialogs::install(FileDialogs *dialogs)
{
    current = dialogs ? dialogs : &realDialogs;
}

QString FileDialogs::qtFilter(const QString &filter)
{
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}
