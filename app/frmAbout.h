#pragma once

#include <QDialog>

class QLabel;

// The about box: version, title, copyright, and the bus library's name and version.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // "VLM_BUS V1.05" for name "VLM_BUS" and version number 105.
    static QString busLibraryText(const QString &componentName, int versionNr);
    void setBusLibrary(const QString &componentName, int versionNr);

private:
    QLabel *lblDLL;
};
