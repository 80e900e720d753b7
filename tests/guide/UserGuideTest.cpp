#include "data/StringTable.h"
#include "support/PdfText.h"

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

    static QString imageList(const QString &file)
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
            qFatal("pdfimages (poppler-utils) is not installed");
        QProcess process;
        process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            qFatal("pdfimages failed: %s", process.readAllStandardError().data());
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    // Every language with a number of its own (British English reads the English guide).
    void guideOfEachLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("languageNo");
        QList<int> numbers;
        for (const QString &language : StringTable::languages()) {
            const int number = StringTable(language).languageNo();
            if (!numbers.contains(number))
                QTest::newRow(qPrintable(language)) << language << number;
            numbers << number;
        }
    }

    void guideOfEachLanguage()
    {
        QFETCH(QString, language);
        QFETCH(int, languageNo);
        const QString file = guide(languageNo);
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));

        const QStringList images = imageList(file)
                                       .split(u'\n', Qt::SkipEmptyParts)
                                       .mid(2); // the two header lines
        QVERIFY2(images.size() >= 8, qPrintable(QString::number(images.size())));

        // The synchronisation menu item as this language's table names it; a line break may
        // fall inside it (after its dash, which the layout mode keeps).
        StringTable::setLanguage(language);
        const QString caption = resString(525).remove(u'&');
        QVERIFY(havePdfText());
        const QString text = pdfText(file).simplified();
        QVERIFY2(text.contains(caption), qPrintable(caption));
    }
};

QTEST_GUILESS_MAIN(UserGuideTest)
#include "UserGuideTest.moc"
