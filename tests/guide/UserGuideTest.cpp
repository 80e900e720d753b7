#include "data/StringTable.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// Reads the guides the build made with poppler's tools: a guide that is missing, untranslated
// or without its pictures fails here.
class UserGuideTest : public QObject
{
    Q_OBJECT

    static QString guide(int languageNo)
    {
        return QStringLiteral(LUMETRA4_HELP_BUILD_DIR "/%1/Lumetra4Desktop.pdf").arg(languageNo);
    }

    static QString run(const QString &tool, const QStringList &arguments)
    {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            qFatal("%s (poppler-utils) is not installed", qPrintable(tool));
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            qFatal("%s failed: %s", qPrintable(tool), process.readAllStandardError().data());
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    void guideOfEachLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("languageNo");
        QTest::newRow("de") << QStringLiteral("de") << 1;
        QTest::newRow("en") << QStringLiteral("en") << 2;
        QTest::newRow("it") << QStringLiteral("it") << 4;
        QTest::newRow("pl") << QStringLiteral("pl") << 5;
        QTest::newRow("hu") << QStringLiteral("hu") << 6;
        QTest::newRow("sl") << QStringLiteral("sl") << 7;
        QTest::newRow("hr") << QStringLiteral("hr") << 8;
        QTest::newRow("cs") << QStringLiteral("cs") << 9;
    }

    void guideOfEachLanguage()
    {
        QFETCH(QString, language);
        QFETCH(int, languageNo);
        const QString file = guide(languageNo);
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));

        const QStringList images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file})
                                       .split(u'\n', Qt::SkipEmptyParts)
                                       .mid(2); // the two header lines
        QVERIFY2(images.size() >= 8, qPrintable(QString::number(images.size())));

        // The synchronisation menu item as this language's table names it; a line break may
        // fall inside it (after its dash, which the layout mode keeps).
        StringTable::setLanguage(language);
        const QString caption = resString(525).remove(u'&');
        const QStringList arguments{QStringLiteral("-layout"), file, QStringLiteral("-")};
        const QString text = run(QStringLiteral("pdftotext"), arguments).simplified();
        QVERIFY2(text.contains(caption), qPrintable(caption));
    }
};

QTEST_GUILESS_MAIN(UserGuideTest)
#include "UserGuideTest.moc"
