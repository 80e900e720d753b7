#include "masterdata/import/CellText.h"

#include <QDateTime>

#include <cmath>

QString CellText::number(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

QString CellText::date(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QString CellText::dateTime(const QDateTime &dateTime)
{
    if (dateTime.time() == QTime(0, 0))
        return date(dateTime.date());
    return dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
