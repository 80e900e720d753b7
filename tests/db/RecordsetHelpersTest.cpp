#include "data/Progress.h"
#include "data/Recordset.h"
#include "data/RecordsetHelpers.h"

#include <QTest>

class RecordsetHelpersTest : public QObject
{
    Q_OBJECT

    static std::unique_ptr<Recordset> customers(const QStringList &numbers)
    {
        QList<QVariantList> rows;
        for (const QString &number : numbers)
            rows << QVariantList{number, QStringLiteral("Name ") + number};
        return std::make_unique<Recordset>(
            QList<RecordsetField>{RecordsetField::named(QStringLiteral("Kunden-Nr")),
                                  RecordsetField::named(QStringLiteral("Name1"))},
            rows);
    }

private slots:
    void matchKundenNr_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("matches");
        QTest::addColumn<QString>("keyAfter");
        QTest::newRow("leading zeros added") << QStringList{"00123", "4711"} << "123" << 1 << "00123";
        QTest::newRow("as typed") << QStringList{"4711"} << " 4711 " << 1 << "4711";
        QTest::newRow("no match: thirty zeros")
            << QStringList{"4711"} << "9" << 0 << QString(30, u'0') + "9";
        QTest::newRow("empty list leaves the key") << QStringList{} << "123" << 0 << "123";
        QTest::newRow("quote is literal") << QStringList{"O'12"} << "O'12" << 1 << "O'12";
        QTest::newRow("wildcard is literal") << QStringList{"4711", "47*"} << "47*" << 1 << "47*";
    }
    void matchKundenNr()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, key);
        QFETCH(int, matches);
        QFETCH(QString, keyAfter);
        auto list = customers(stored);
        QCOMPARE(MatchKundenNr(*list, QStringLiteral("Kunden-Nr"), key), matches);
        QCOMPARE(key, keyAfter);
        QCOMPARE(list->recordCount(), stored.size()); // the caller's list is not filtered
    }

    void sortToggles()
    {
        auto list = customers({"2", "3", "1"});
        int previous = -1;
        QString direction;
        SortByColumn(*list, 0, previous, direction);
        QCOMPARE(direction, QStringLiteral("ASC"));
        list->moveFirst();
        QCOMPARE(list->value(0).toString(), QStringLiteral("1"));
        SortByColumn(*list, 0, previous, direction);
        QCOMPARE(direction, QStringLiteral("DESC"));
        list->moveFirst();
        QCOMPARE(list->value(0).toString(), QStringLiteral("3"));
        SortByColumn(*list, 0, previous, direction);
        QCOMPARE(direction, QStringLiteral("ASC"));
        SortByColumn(*list, 1, previous, direction);
        QCOMPARE(direction, QStringLiteral("ASC"));
        QCOMPARE(previous, 1);
    }

    void deleteSelectedRowsStepsOncePerRow()
    {
        auto list = customers({"1", "2", "3", "4"});
        QList<int> marks;
        for (int position : {1, 3}) {
            list->move(position);
            marks << list->bookmark();
        }
        Progress progress;
        progress.ShowProgress(true, 2, QString());
        QCOMPARE(DeleteSelectedRows(*list, marks, &progress), 2);
        QCOMPARE(progress.value(), 2.0);
        QCOMPARE(list->recordCount(), 2);
        list->moveFirst();
        QCOMPARE(list->value(0).toString(), QStringLiteral("1"));
        list->moveNext();
        QCOMPARE(list->value(0).toString(), QStringLiteral("3"));
    }
};

QTEST_GUILESS_MAIN(RecordsetHelpersTest)
#include "RecordsetHelpersTest.moc"
