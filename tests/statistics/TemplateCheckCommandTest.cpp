#include "support/PdfText.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// lumetra4 template-check as an author of templates runs it.
class TemplateCheckCommandTest : public QObject
{
    Q_OBJECT
private:
    struct Run
    {
        int exitCode;
        QString out;
        QString err;
    };
    static Run run(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(LUMETRA4_CLI), arguments);
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    static QString shipped()
    {
        return QStringLiteral(LUMETRA4_SOURCE_DIR "/templates/Leckmengen1_G5952.vts");
    }

private slots:
    void checksAndRendersTheShippedTemplate()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("check.pdf"));
        const Run result = run({QStringLiteral("template-check"), shipped(),
                                QStringLiteral("--pdf"), pdf});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains(QStringLiteral("OK, 13 columns, 52 rows")));
        QVERIFY(QFile::exists(pdf));
        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString text = pdfText(pdf);
        for (const char *expected : {"Erika Mustermann", "logo", "pressureChart", "Druckkurve"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }

    void reportsFaultsWithFileAndLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown placeholder")
            << QByteArray("<workbook-template version=\"1\">\n<column width=\"10\"/>\n"
                          "<row height=\"5\"/>\n<cell row=\"1\" col=\"1\">{Kundee}</cell>\n"
                          "</workbook-template>\n")
            << ":4: unknown placeholder {Kundee}";
        QTest::newRow("bad XML")
            << QByteArray("<workbook-template version=\"1\">\n<column width=\"10\">\n"
                          "</workbook-template>\n")
            << ":3: ";
    }
    void reportsFaultsWithFileAndLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Leckmengen1.vts"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        const Run result = run({QStringLiteral("template-check"), path, QStringLiteral("--pdf"),
                                pdf});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(path + expected), qPrintable(result.err));
        QVERIFY(!QFile::exists(pdf));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("help") << QStringList{"template-check", "--help"} << 0;
        QTest::newRow("no file") << QStringList{"template-check"} << 2;
        QTest::newRow("--pdf without a file") << QStringList{"template-check", "x.vts", "--pdf"}
                                              << 2;
        QTest::newRow("missing template") << QStringList{"template-check", "/nonexistent.vts"}
                                          << 1;
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QTEST(run(arguments).exitCode, "exitCode");
    }

    void unwritablePdfIsAnError()
    {
        const Run result = run({QStringLiteral("template-check"), shipped(),
                                QStringLiteral("--pdf"),
                                QStringLiteral("/nonexistent-folder/out.pdf")});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.err.contains(QStringLiteral("/nonexistent-folder/out.pdf")));
    }
};

QTEST_GUILESS_MAIN(TemplateCheckCommandTest)
#include "TemplateCheckCommandTest.moc"
