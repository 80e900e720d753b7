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
    const auto text = [&locale](double value) {
        return NumberText::fromSingle(float(value * 10), locale) + u':';
    };
    QString samples;
    samples.reserve(count * 8);
    double maximum = 0;
    double minimum = 0;
    for (int j = 0; j < count; ++j) {
        double value = NumberText::roundToThousandths(block.sample(s, j));
        if (bar)
            value *= 1000;
        if (j == 0)
            minimum = value;
        if (value > maximum)
            maximum = value;
        else if (value < minimum)
            minimum = value;
        samples += text(value);
    }
    return text(maximum) + text(minimum) + QString::number(count) + u':' + samples;
}
