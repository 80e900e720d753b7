#pragma once

#include <QWidget>

// The start-up picture, German for language number 1 and English for every other language.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(int languageNo, QWidget *parent = nullptr);

    static QString pictureFor(int languageNo);

    // Keeps the splash on top of every window for the given time, processing events.
    void holdOnTop(int milliseconds);

protected:
    void resizeEvent(QResizeEvent *event) override;
};
