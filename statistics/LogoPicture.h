#pragma once

#include "statistics/FilledTemplate.h"

#include <QString>

// The firm's logo (SVG, PNG or JPEG), read once and drawn as large as it fits into a
// rectangle with its aspect ratio kept, centred.
class LogoPicture
{
public:
    LogoPicture() = default;
    // Reads the file; an empty path means no logo. isValid() tells whether it could be read.
    explicit LogoPicture(const QString &file);

    const QString &file() const { return m_file; }
    bool isValid() const { return bool(m_drawing); }
    // The drawing for FilledTemplate::placeDrawing; empty when there is no logo.
    FilledTemplate::Drawing drawing() const { return m_drawing; }

    // The largest rectangle of the given aspect (width / height) centred in target.
    static QRectF fitted(const QRectF &target, const QSizeF &size);

private:
    QString m_file;
    FilledTemplate::Drawing m_drawing;
};
