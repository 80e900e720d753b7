#pragma once

#include <QWidget>

class FilledTemplate;

// Shows a protocol page as it prints, at a view scale in percent.
class ProtocolView : public QWidget
{
    Q_OBJECT
public:
    explicit ProtocolView(QWidget *parent = nullptr);

    // The protocol is not owned; nullptr shows an empty page area.
    void setProtocol(const FilledTemplate *protocol);
    void setViewScale(int percent);
    int viewScale() const { return m_scale; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF pageSizePixels() const;

    const FilledTemplate *m_protocol = nullptr;
    int m_scale = 65;
};
