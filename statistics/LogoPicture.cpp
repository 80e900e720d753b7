#include "statistics/LogoPicture.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

LogoPicture::LogoPicture(const QString &file) : m_file(file)
{
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return;
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        auto renderer = std::make_shared<QSvgRenderer>(file);
        if (!renderer->isValid() || renderer->defaultSize().isEmpty())
            return;
        m_drawing = [renderer](QPainter &painter, const QRectF &target) {
            renderer->render(&painter, fitted(target, renderer->defaultSize()));
        };
        return;
    }
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return;
    m_drawing = [image](QPainter &painter, const QRectF &target) {
        painter.drawImage(fitted(target, image.size()), image);
    };
}

QRectF LogoPicture::fitted(const QRectF &target, const QSizeF &size)
{
    if (size.isEmpty() || target.isEmpty())
        return target;
    const QSizeF scaled = size.scaled(target.size(), Qt::KeepAspectRatio);
    QRectF result(QPointF(), scaled);
    result.moveCenter(target.center());
    return result;
}
