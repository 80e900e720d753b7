#include "statistics/ExportCriteria.h"

#include "data/StringTable.h"

namespace {

QString orDash(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString field(const QString &text)
{
    return text + u';';
}

} // namespace

int TestKindString(const QString &text)
{
    for (int number = 203; number <= 206; ++number) {
        if (text == resString(number))
            return number;
    }
    return 0;
}

int ExportCriteria::testKindString() const
{
    return testKind.isEmpty() ? 0 : TestKindString(testKind);
}

QStringList ExportCriteria::lines(Export kind) const
{
    const int chosen = testKindString();
    QStringList out;
    out << field(resString(25011)) + field(dataBase);
    out << field(resString(25013)) + field(orDash(testKind));
    out << field(resString(25046)) + field(orDash(dateFrom)) + field(resString(25047))
               + field(orDash(dateTo));
    if (chosen >= 203 && chosen <= 205)
        out << field(resString(25073)) + field(orDash(finding));
    if (chosen == 203) {
        if (kind == Export::List) {
            out << field(resString(25048)) + field(orDash(flowMin)) + field(resString(25049))
                       + field(orDash(flowMax)) + field(resString(26955));
        } else {
            out << field(resString(25015) + QStringLiteral(" >= ")) + field(orDash(flowMin))
                       + field(QStringLiteral(" <  = ")) + field(orDash(flowMax))
                       + field(resString(26955));
        }
    }
    if (customerShown)
        out << field(resString(25027)) + field(orDash(customer));
    out << field(resString(25053)) + field(orDash(inspector));
    out << field(resString(25054)) + field(orDash(client));
    out << field(resString(25023)) + field(orDash(fabNr));
    out << QString();
    if (kind == Export::Protocol)
        out << QString();
    return out;
}
