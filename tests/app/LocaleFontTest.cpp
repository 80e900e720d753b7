#include "app/LocaleFont.h"

#include <QFont>
#include <QLabel>
#include <QTest>
#include <QWidget>

class LocaleFontTest : public QObject
{
    Q_OBJECT
private slots:
    void charset()
    {
        QFont font(QStringLiteral("Serif"));
        SetFontCharset(font, 1031, false);
        QCOMPARE(font.family(), QStringLiteral("Serif"));
        SetFontCharset(font, 1031, true);
        QCOMPARE(font.family(), dialogFontFamily());
        // A Japanese locale gets its own font at 9 points even with the dialog font asked for.
        SetFontCharset(font, 1041, true);
        QCOMPARE(font.family(), QStringLiteral("Noto Sans CJK JP"));
        QCOMPARE(font.pointSize(), 9);
    }

    void windowAlwaysGetsTheDialogFamily()
    {
        QWidget window;
        window.setFont(QFont(QStringLiteral("Serif")));
        auto *label = new QLabel(&window);
        label->setFont(QFont(QStringLiteral("Serif")));
        QVERIFY(ApplyLocaleFont(&window, false));
        QCOMPARE(window.font().family(), dialogFontFamily());
        QCOMPARE(label->font().family(), QStringLiteral("Serif"));
        QVERIFY(ApplyLocaleFont(&window, true));
        QCOMPARE(label->font().family(), dialogFontFamily());
    }
};

QTEST_MAIN(LocaleFontTest)
#include "LocaleFontTest.moc"
