#include "data/StringTable.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class StringTableTest : public QObject
{
    Q_OBJECT
private slots:
    void chooseLanguage_data()
    {
        QTest::addColumn<QString>("override");
        QTest::addColumn<QStringList>("ui");
        QTest::addColumn<QString>("expected");
        QTest::newRow("German locale") << "" << QStringList{"de_DE.UTF-8"} << "de";
        QTest::newRow("Austrian German") << "" << QStringList{"de_AT"} << "de";
        QTest::newRow("British English") << "" << QStringList{"en_GB.UTF-8"} << "en_GB";
        QTest::newRow("US English") << "" << QStringList{"en_US.UTF-8"} << "en";
        QTest::newRow("Czech") << "" << QStringList{"cs_CZ.UTF-8"} << "cs";
        QTest::newRow("unknown falls back to English") << "" << QStringList{"fr_FR.UTF-8"} << "en";
        QTest::newRow("first listed decides") << "" << QStringList{"", "hu_HU", "de"} << "hu";
        QTest::newRow("nothing set") << "" << QStringList{} << "en";
        QTest::newRow("override wins") << "pl" << QStringList{"de_DE"} << "pl";
        QTest::newRow("override en-GB") << "en-GB" << QStringList{} << "en_GB";
        QTest::newRow("unknown override") << "xx" << QStringList{"de_DE"} << "en";
    }
    void chooseLanguage()
    {
        QFETCH(QString, override);
        QFETCH(QStringList, ui);
        QFETCH(QString, expected);
        QCOMPARE(StringTable::chooseLanguage(override, ui), expected);
    }

    void lookups()
    {
        QCOMPARE(StringTable("de").text(203), QStringLiteral("Gebrauchsfähigkeitsprüfung"));
        QCOMPARE(StringTable("de").text(26953), QStringLiteral("mbar"));
        QCOMPARE(StringTable("en").text(203), QStringLiteral("Test of Working Order"));
        QCOMPARE(StringTable("de").text(26014), QStringLiteral("Fehler in: ")); // blanks kept
        QVERIFY(StringTable("de").text(25094).contains(u'\n'));
        QVERIFY(StringTable("de").text(999999).isEmpty());
    }

    void languageNumbers_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("number");
        const std::pair<const char *, int> table[] = {{"de", 1}, {"en", 2}, {"en_GB", 2},
                                                      {"it", 4}, {"pl", 5}, {"hu", 6},
                                                      {"sl", 7}, {"hr", 8}, {"cs", 9}};
        for (const auto &[language, number] : table)
            QTest::newRow(language) << QString(language) << number;
    }
    void languageNumbers()
    {
        QFETCH(QString, language);
        QFETCH(int, number);
        QCOMPARE(StringTable(language).languageNo(), number);
    }

    // A bad line is named by its number and never silently replaces a good entry.
    void parseNamesBadLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        QTest::newRow("no tab") << QByteArray("5\t1\nno tab here\n") << "line 2: not \"number<TAB>text\": no tab here";
        QTest::newRow("no number") << QByteArray("5\t1\n7\ta\nx\ty\n") << "line 3: not \"number<TAB>text\": x\ty";
        QTest::newRow("number twice") << QByteArray("5\t1\n7\ta\r\n7\tb\n") << "line 3: number 7 appears twice";
        QTest::newRow("Latin-1 bytes") << QByteArray("5\t1\n7\tPr\xfc" "fer\n") << "line 2: not valid UTF-8";
    }
    void parseNamesBadLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QStringList errors;
        const auto texts = StringTable::parse(content, &errors);
        QCOMPARE(errors, QStringList{error});
        QCOMPARE(texts.value(5), QStringLiteral("1"));
        QVERIFY(texts.value(7) == QStringLiteral("a") || !texts.contains(7));
    }

    void parseUnescapes()
    {
        QStringList errors;
        const auto texts = StringTable::parse("7\ta\\tb\\\\c\r\n", &errors);
        QCOMPARE(texts.value(7), QStringLiteral("a\tb\\c"));
        QVERIFY(errors.isEmpty());
    }

    void germanAndEnglishHaveTheSameNumbers()
    {
        QCOMPARE(StringTable("en").numbers().size(), StringTable("de").numbers().size());
        for (int number : StringTable("de").numbers())
            QVERIFY2(StringTable("en").contains(number), qPrintable(QString::number(number)));
    }

    // Every resString(N) in the sources must exist in German and English.
    void everyNumberUsedInTheCodeExists()
    {
        static const QRegularExpression use(QStringLiteral(R"(resString\((\d+)\))"));
        const StringTable german("de"), english("en");
        QDirIterator it(QStringLiteral(LUMETRA4_SOURCE_DIR), {"*.cpp", "*.h"},
                        QDir::Files, QDirIterator::Subdirectories);
        int uses = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.contains(QLatin1String("/build")) || path.contains(QLatin1String("/tests/")))
                continue;
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            const QString source = QString::fromUtf8(file.readAll());
            for (auto m = use.globalMatch(source); m.hasNext(); ++uses) {
                const int number = m.next().captured(1).toInt();
                QVERIFY2(german.contains(number) && english.contains(number),
                         qPrintable(QStringLiteral("%1 uses string %2").arg(path).arg(number)));
            }
        }
        QVERIFY(uses > 0);
    }
};

QTEST_GUILESS_MAIN(StringTableTest)
#include "StringTableTest.moc"
