#include "ImportFixtures.h"

#include "masterdata/import/FieldListWidgets.h"
#include "masterdata/import/frmImport.h"
#include "newtests/NewTestsFixture.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace ImportFixtures;
using NewTestsFixture::FixtureDb;

// The assistant's pages offscreen: the order of the pages, the buttons on each, the mapping
// by drop, the sample rows, the import and its message.
class frmImportTest : public QObject
{
    Q_OBJECT

    template<typename T>
    static T *child(frmImport &window, const char *name)
    {
        T *found = window.findChild<T *>(QString::fromUtf8(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }

    static int customerCount(FixtureDb &db)
    {
        QSqlQuery query = db.session.dbConnection.select(QStringLiteral("SELECT COUNT(*) FROM Kunden"));
        query.next();
        return query.value(0).toInt();
    }

private slots:
    void textFileStartsOnMappingAndImports()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        const QString path = db.dir.filePath(QStringLiteral("Kunden.csv"));
        writeCsvUtf8Bom(path);
        frmImport window(db.session, path, nullptr);
        QVERIFY(window.openSource());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.page(), int(frmImport::Mapping));
        auto *back = child<QPushButton>(window, "cmdZurück");
        auto *next = child<QPushButton>(window, "cmdWeiter");
        QVERIFY(!back->isEnabled());
        QVERIFY(!next->isEnabled()); // the customer number is not mapped yet
        auto *grid = child<QTableWidget>(window, "DataGrid1");
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("O'Brien \"Pub\""));
        QCOMPARE(child<QGroupBox>(window, "FrameGrid")->title(),
                 QStringLiteral("Tabelle: Kunden.csv (3 Beispieldatensätze)"));
        QVERIFY(child<QLabel>(window, "lblHinweis")->text().contains(
            QStringLiteral("Das Feld \"Kunden-Nr\" muss zugeordnet werden.")));

        // A source field dropped onto the Kunden-Nr entry maps it.
        auto *destinations = child<DestinationFieldList>(window, "lstvwDestFields");
        emit destinations->fieldDropped(7, QStringLiteral("KNR"));
        QCOMPARE(window.mapping().entries().at(7).source, QStringLiteral("KNR"));
        QCOMPARE(destinations->topLevelItem(7)->text(1), QStringLiteral("KNR"));
        QVERIFY(next->isEnabled());
        window.mapField(0, QStringLiteral("NAME"));

        next->click();
        QCOMPARE(window.page(), int(frmImport::UpdateMethodPage));
        QCOMPARE(next->text(), QStringLiteral("Fertig stellen"));
        QVERIFY(child<QRadioButton>(window, "OptionNoUpdate")->isChecked());
        back->click(); // the mapping is kept
        QCOMPARE(window.page(), int(frmImport::Mapping));
        QCOMPARE(next->text(), QStringLiteral("&Weiter >"));
        QCOMPARE(window.mapping().entries().at(0).source, QStringLiteral("NAME"));
        next->click();
        child<QRadioButton>(window, "OptionUpdate")->setChecked(true);
        next->click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral(
            "Datenimport erfolgreich abgeschlossen.\nNeu eingefügte Datensätze: 3\n"
            "Geänderte Datensätze: 1\nNicht eingefügte Datensätze: 1")});
        QCOMPARE(customerCount(db), 3);
    }

    void workbookStartsOnTablesAndClearsMappingOnReentry()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        const QString path = db.dir.filePath(QStringLiteral("kunden.xls"));
        QVERIFY(QFile::copy(fixturePath(QStringLiteral("kunden.xls")), path));
        frmImport window(db.session, path, nullptr);
        QVERIFY(window.openSource());
        QCOMPARE(window.page(), int(frmImport::Tables));
        auto *tables = child<QListWidget>(window, "ListTabellen");
        QCOMPARE(tables->count(), 2);
        QCOMPARE(tables->item(0)->text(), QStringLiteral("Kunden$"));
        QCOMPARE(tables->item(1)->text(), QStringLiteral("Daten$"));
        auto *next = child<QPushButton>(window, "cmdWeiter");
        QVERIFY(!next->isEnabled());
        QVERIFY(!child<QPushButton>(window, "cmdZurück")->isEnabled());
        emit tables->itemClicked(tables->item(0));
        QVERIFY(next->isEnabled());
        next->click();
        QCOMPARE(window.page(), int(frmImport::Mapping));
        window.mapField(7, QStringLiteral("KNR"));
        child<QPushButton>(window, "cmdZurück")->click();
        QCOMPARE(window.page(), int(frmImport::Tables));
        QVERIFY(next->isEnabled());
        next->click();
        QVERIFY(!window.mapping().keyMapped()); // re-entering page 2 starts over
        QVERIFY(!next->isEnabled());
    }

    void emptyTableAndUnreadableFile()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        CapturingPresenter errors;
        const QString empty = db.dir.filePath(QStringLiteral("leer.csv"));
        writeFile(empty, "KNR;NAME\r\n");
        frmImport window(db.session, empty, nullptr);
        QVERIFY(window.openSource());
        window.mapField(7, QStringLiteral("KNR"));
        child<QPushButton>(window, "cmdWeiter")->click();
        child<QPushButton>(window, "cmdWeiter")->click();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral(
            "Die Datenbank ist leer. Es wurden keine Datensätze importiert.")});

        const QString broken = db.dir.filePath(QStringLiteral("kaputt.xlsx"));
        writeFile(broken, "kein Zip");
        frmImport second(db.session, broken, nullptr);
        QVERIFY(!second.openSource());
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages.first().contains(QStringLiteral("kaputt.xlsx")));
    }

    void screenshotOfTheMappingPage()
    {
        FixtureDb db;
        const QString path = db.dir.filePath(QStringLiteral("Kunden.csv"));
        writeCsvUtf8Bom(path);
        frmImport window(db.session, path, nullptr);
        QVERIFY(window.openSource());
        window.mapField(7, QStringLiteral("KNR"));
        window.mapField(0, QStringLiteral("NAME"));
        window.mapField(2, QStringLiteral("STRASSE"));
        window.mapField(3, QStringLiteral("PLZ"));
        window.mapField(4, QStringLiteral("ORT"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString docs = QStringLiteral(LUMETRA4_DOCS_DIR);
        if (QDir(docs).exists())
            QVERIFY(window.grab().save(docs + QStringLiteral("/import-mapping.png")));
    }
};

QTEST_MAIN(frmImportTest)
#include "frmImportTest.moc"
