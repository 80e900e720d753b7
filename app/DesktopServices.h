#pragma once

#include <QUrl>

class QWidget;

// Opens the document with the desktop's viewer; a missing file or a failed start is answered
// with a warning.
void OpenDocument(QWidget *parent, const QString &path);
// Opens the address in the desktop's browser; a failed start is answered with a warning.
void OpenWebSite(QWidget *parent, const QUrl &address);
