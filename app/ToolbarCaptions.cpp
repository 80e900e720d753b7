#include "app/ToolbarCaptions.h"

#include <algorithm>

QStringList centreCaptions(const QStringList &captions)
{
    qsizetype longest = 0;
    for (const QString &caption : captions)
        longest = std::max(longest, caption.size());
    QStringList centred;
    for (const QString &caption : captions) {
        if (caption.isEmpty()) {
            centred << caption;
            continue;
        }
        const qsizetype surplus = longest - caption.size();
        const qsizetype left = (surplus + 1) / 2;
        centred << QString(left, u' ') + caption + QString(surplus - left, u' ');
    }
    return centred;
}
