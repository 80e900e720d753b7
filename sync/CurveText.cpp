#include "CurveText.h"

#include "sync/InstrumentCatalogue.h"
#include "sync/NumberText.h"

QString BuildCurve(const DecodedBlock &block, int s, const QLocale &locale)
{
    if (block.header.valuesEnd == block.header.valuesStart || s < 0
        || s >= block.header.seriesCount)
        return QString();
    const bool bar = InstrumentCatalogue::isBar(block.series[s].unitCode);
    const int count = block.sampleCount();
    QList<double> tenths;
    tenths.reserve(count);
    for (int j = 0; j < count; ++j) {
        double value = NumberText::roundToThousandths(block.sample(s, j));
        if (bar)
            value *= 1000;
        tenths.append(value * 10);
    }
    return CurveTextOfTenths(tenths, locale);
}

QString CurveTextOfTenths(const QList<double> &tenths, const QLocale &locale)
{
    const auto text = [&locale](double value) {
        return NumberText::fromSingle(float(value), locale) + u':';
    };
    QString samples;
    samples.reserve(tenths.size() * 8);
    double maximum = 0;
    double minimum = tenths.isEmpty() ? 0 : tenths.first();
    for (const double value : tenths) {
        if (value > maximum)
            maximum = value;
        else if (value < minimum)
            minimum = value;
        samples += text(value);
    }
    return text(maximum) + text(minimum) + QString::number(tenths.size()) + u':' + samples;
}
