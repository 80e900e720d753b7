#include "app/LocaleFont.h"

#include "data/Localisation.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

QString dialogFontFamily()
{
    // Tahoma is rarely installed on Linux; a sans serif of similar metrics takes its place.
    static const QString family = [] {
        for (const char *candidate : {"Tahoma", "DejaVu Sans", "Liberation Sans", "Noto Sans"}) {
            if (QFontDatabase::hasFamily(QLatin1String(candidate)))
                return QString::fromLatin1(candidate);
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

void SetFontCharset(QFont &font, int localeId, bool tahoma)
{
    if (tahoma)
        font.setFamily(dialogFontFamily());
    // Qt chooses glyphs by script itself; what remains of a character set is the font of
    // the locales that need one.
    const LocaleFont localeFont = localeFontFor(localeId);
    if (!localeFont.family.isEmpty()) {
        font.setFamily(localeFont.family);
        font.setPointSize(localeFont.pointSize);
    }
}

bool ApplyLocaleFont(QWidget *window, bool tahoma)
{
    const int localeId = localeIdentifier(QLocale::system());
    QFont own = window->font();
    SetFontCharset(own, localeId, true);
    window->setFont(own);
    for (QWidget *child : window->findChildren<QWidget *>()) {
        QFont font = child->font();
        SetFontCharset(font, localeId, tahoma);
        child->setFont(font);
    }
    return true;
}
