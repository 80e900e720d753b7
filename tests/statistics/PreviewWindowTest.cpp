#include "support/PdfText.h"

#include "data/ColumnCaptions.h"
#include "data/IniFile.h"
#include "data/StringTable.h"
#include "app/PrintDialog.h"
#include "statistics/frmVorschau.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers the print dialog with a PDF file and a number of copies, or cancels.
class PdfDialog : public PrintDialog
{
public:
    PdfDialog(QString path, int copies) : m_path(std::move(path)), m_copies(copies)
    {
        install(this);
    }
    ~PdfDialog() override { install(nullptr); }
    bool choose(QWidget *, QPrinter &printer) override
    {
        if (m_path.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_path);
        printer.setCopyCount(m_copies);
        return true;
    }

private:
    QString m_path;
    int m_copies;
};

ProtocolTest regulatorTest()
{
    ProtocolTest test;
    test.kind = 3;
    test.date = QDateTime(QDate(2010, 2, 3), QTime(14, 7));
    test.kundenNr = QStringLiteral("REG-1");
    test.ruhedruck = -99999;
    test.fliessdruck = 21.8;
    return test;
}

} // namespace

// The protocol preview: its page, zoom limits, the kept view scale and printing.
class PreviewWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
    }

    void zoomIsKeptBetweenPreviews()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("Lumetra4Desktop.ini")));
        RecordingMessageBoxes boxes;
        {
            frmVorschau preview(ini, QString(), regulatorTest());
            QVERIFY(preview.protocol());
            QCOMPARE(preview.protocol()->value(QStringLiteral("Ruhedruck")), QStringLiteral("---"));
            QCOMPARE(preview.windowTitle(), QStringLiteral("Druckvorschau Prüfprotokoll"));
            QCOMPARE(preview.viewScale(), 65);
            for (int i = 0; i < 20; ++i)
                preview.CLICK_VERGROESSERN();
            QCOMPARE(preview.viewScale(), 100);
            for (int i = 0; i < 30; ++i)
                preview.CLICK_VERKLEINERN();
            QCOMPARE(preview.viewScale(), 25);
            preview.CLICK_VERGROESSERN();
            preview.CLICK_ENDE();
        }
        QCOMPARE(ini.read(QStringLiteral("frmVorschau"), QStringLiteral("ViewScale"), {}),
                 QStringLiteral("30"));
        frmVorschau again(ini, QString(), regulatorTest());
        QCOMPARE(again.viewScale(), 30);
    }

    void printsTheCopiesOnce_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("one") << 1 << false;
        QTest::newRow("two copies") << 2 << false;
        QTest::newRow("cancelled") << 1 << true;
    }

    void printsTheCopiesOnce()
    {
        QFETCH(int, copies);
        QFETCH(bool, cancel);
        if (!havePdfText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("Lumetra4Desktop.ini")));
        RecordingMessageBoxes boxes;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        PdfDialog dialog(cancel ? QString() : pdf, copies);
        frmVorschau preview(ini, QString(), regulatorTest());
        preview.CLICK_DRUCKEN();
        if (cancel) {
            QVERIFY(!QFile::exists(pdf));
            return;
        }
        for (int page = 1; page <= copies; ++page)
            QVERIFY(pdfText(pdf, page).contains(QStringLiteral("REG-1")));
        QVERIFY(pdfText(pdf, copies + 1).trimmed().isEmpty());
    }

    void missingTemplateIsReported()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("Lumetra4Desktop.ini")));
        RecordingMessageBoxes boxes;
        CapturingPresenter errors;
        frmVorschau preview(ini, QString(), regulatorTest(), nullptr, dir.path());
        QVERIFY(!preview.protocol());
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages.first().contains(QStringLiteral("Reglerprüfung1.vts")));
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "PreviewWindowTest.moc"
