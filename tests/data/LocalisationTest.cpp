#include "data/Localisation.h"

#include <QTest>

class LocalisationTest : public QObject
{
    Q_OBJECT
private slots:
    void formats_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("mask");
        QTest::newRow("German") << "de_DE" << "," << "##.##.####";
        QTest::newRow("US English") << "en_US" << "." << "##/##/####";
        QTest::newRow("British English") << "en_GB" << "." << "##/##/####";
        QTest::newRow("Czech") << "cs_CZ" << "," << "##.##.####";
        QTest::newRow("Hungarian") << "hu_HU" << "," << "####. ##. ##.";
    }
    void formats()
    {
        QFETCH(QString, locale);
        QFETCH(QString, separator);
        QFETCH(QString, mask);
        QCOMPARE(DecimalSeparator(QLocale(locale)), separator);
        QCOMPARE(DateMask(QLocale(locale)), mask);
    }

    void fontTable_data()
    {
        QTest::addColumn<int>("localeId");
        QTest::addColumn<int>("charset");
        QTest::addColumn<bool>("ownFamily");
        QTest::newRow("Russian is Central European") << 1049 << 238 << false;
        QTest::newRow("Czech") << 1029 << 238 << false;
        QTest::newRow("Japanese has its font") << 1041 << 128 << true;
        QTest::newRow("Greek") << 1032 << 161 << false;
        QTest::newRow("German is western") << 1031 << 1 << false;
    }
    void fontTable()
    {
        QFETCH(int, localeId);
        QFETCH(int, charset);
        QFETCH(bool, ownFamily);
        const LocaleFont font = localeFontFor(localeId);
        QCOMPARE(font.charset, charset);
        QCOMPARE(!font.family.isEmpty(), ownFamily);
        QCOMPARE(font.pointSize, ownFamily ? 9 : 0);
        QCOMPARE(localeIdentifier(QLocale(QStringLiteral("en_GB"))), 2057);
        QCOMPARE(localeIdentifier(QLocale(QStringLiteral("ja_JP"))), 1041);
    }
};

QTEST_GUILESS_MAIN(LocalisationTest)
#include "LocalisationTest.moc"
