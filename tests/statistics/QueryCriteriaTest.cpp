#include "data/ColumnCaptions.h"
#include "data/Recordset.h"
#include "data/RecordsetModel.h"
#include "data/SqlDialect.h"
#include "data/StringTable.h"
#include "statistics/ColumnFormat.h"
#include "statistics/QueryCriteria.h"
#include "statistics/StatisticsGridModel.h"

#include <QTest>

Q_DECLARE_METATYPE(QueryCriteria)
Q_DECLARE_METATYPE(ColumnFormat)

namespace {

const QLocale german(QLocale::German, QLocale::Germany);
const QLocale english(QLocale::English, QLocale::UnitedStates);

QueryCriteria filed()
{
    QueryCriteria criteria;
    criteria.newTests = false;
    return criteria;
}

QueryCriteria with(QueryCriteria criteria, void (*change)(QueryCriteria &))
{
    change(criteria);
    return criteria;
}

// One test as the criteria see it; id first so matches can be named.
struct Test
{
    int id;
    bool neu;
    int kind;
    QString kundenNr;
    int befund;
    QDateTime datum;
    double fluss;
    QString pruefer;
    QString auftraggeber;
    QString fabNr;
};

const QList<Test> tests = {
    {1, false, 0, QStringLiteral("4711"), 0, QDateTime(QDate(2008, 3, 1), QTime(0, 0)), 2.5,
     QStringLiteral("Meier"), QStringLiteral("Stadtwerke"), QStringLiteral("063 01 00042")},
    {2, false, 1, QStringLiteral("04711"), 2, QDateTime(QDate(2008, 3, 1), QTime(23, 59)), 2.4,
     QStringLiteral("M*ier"), QStringLiteral("O'Brien"), QStringLiteral("063 01 00043")},
    {3, false, 2, QStringLiteral("4712"), 1, QDateTime(QDate(2008, 3, 2), QTime(0, 0)), 7,
     QStringLiteral("Müller"), QStringLiteral("Stadtwerke"), QStringLiteral("063 01 00042")},
    {4, false, 3, QStringLiteral("4711"), 255, QDateTime(QDate(2008, 3, 2), QTime(0, 1)), 0,
     QStringLiteral("Meier"), QStringLiteral("O'Brien"), QStringLiteral("063 01 00042")},
    {5, false, 0, QStringLiteral("4711"), 3, QDateTime(QDate(2008, 2, 29), QTime(23, 59)), 3,
     QStringLiteral("Meier"), QStringLiteral("Stadtwerke"), QStringLiteral("063 01 00042")},
    {6, true, 0, QString(), 0, QDateTime(QDate(2008, 3, 1), QTime(12, 0)), 2.5,
     QStringLiteral("Meier"), QStringLiteral("Stadtwerke"), QStringLiteral("063 01 00042")},
};

std::unique_ptr<Recordset> testsList()
{
    const ColumnCaptions &c = columnCaptions();
    using T = RecordsetField::Type;
    const QList<RecordsetField> fields{
        RecordsetField::named(QStringLiteral("id"), T::Integer),
        RecordsetField::named(c.capNeuePruefung, T::Bool),
        RecordsetField::named(c.capPruefart, T::Integer),
        RecordsetField::named(c.capKundenNr, T::Text),
        RecordsetField::named(c.capBefund, T::Integer),
        RecordsetField::named(c.capDatum, T::DateTime),
        RecordsetField::named(c.capFluss, T::Real),
        RecordsetField::named(c.capPruefer, T::Text),
        RecordsetField::named(c.capAuftraggeber, T::Text),
        RecordsetField::named(c.capFabNr, T::Text),
    };
    QList<QVariantList> rows;
    for (const Test &t : tests)
        rows << QVariantList{t.id, int(t.neu), t.kind, t.kundenNr, t.befund,
                             SqlDialect::dateTimeToStorage(t.datum), t.fluss, t.pruefer,
                             t.auftraggeber, t.fabNr};
    return std::make_unique<Recordset>(fields, rows);
}

} // namespace

class QueryCriteriaTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
    }

    void filterText_data()
    {
        QTest::addColumn<QueryCriteria>("criteria");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("matches");

        const QString filedBase = QStringLiteral("[Neue Prüfung] = FALSE");
        QTest::newRow("new tests only") << QueryCriteria{} << german
                                        << QStringLiteral("[Neue Prüfung] =  TRUE")
                                        << QList<int>{6};
        QTest::newRow("filed tests only") << filed() << german << filedBase
                                          << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("kind and flow with a comma")
            << with(QueryCriteria{}, [](QueryCriteria &q) { q.pruefart = 0; q.flowMin = "2,5"; })
            << german
            << QStringLiteral("[Neue Prüfung] =  TRUE AND [Prüfart] = 0 AND [Fluss (l / h)] >= 2.5")
            << QList<int>{6};
        QTest::newRow("customer exact, leading zeros differ")
            << with(filed(), [](QueryCriteria &q) { q.kundenNr = " 4711 "; }) << german
            << filedBase + " AND [Kunden-Nr] LIKE '4711'" << QList<int>{1, 4, 5};
        QTest::newRow("customer with the user's wildcard")
            << with(filed(), [](QueryCriteria &q) { q.kundenNr = "*4711"; }) << german
            << filedBase + " AND [Kunden-Nr] LIKE '*4711'" << QList<int>{1, 2, 4, 5};
        QTest::newRow("customer with a quote")
            << with(filed(), [](QueryCriteria &q) { q.kundenNr = "47'11"; }) << german
            << filedBase + " AND [Kunden-Nr] LIKE '47''11'" << QList<int>{};
        QTest::newRow("finding")
            << with(filed(), [](QueryCriteria &q) { q.befund = 2; }) << german
            << filedBase + " AND [Befund] LIKE '2'" << QList<int>{2};
        QTest::newRow("one day, up to midnight of the next")
            << with(filed(), [](QueryCriteria &q) {
                   q.from = QDate(2008, 3, 1);
                   q.to = QDate(2008, 3, 1);
               })
            << german
            << filedBase + " AND [Prüfdatum] >= #01.03.2008# AND [Prüfdatum] <= #02.03.2008#"
            << QList<int>{1, 2, 3};
        QTest::newRow("start only")
            << with(filed(), [](QueryCriteria &q) { q.from = QDate(2008, 3, 2); }) << german
            << filedBase + " AND [Prüfdatum] >= #02.03.2008#" << QList<int>{3, 4};
        QTest::newRow("end only")
            << with(filed(), [](QueryCriteria &q) { q.to = QDate(2008, 2, 29); }) << german
            << filedBase + " AND [Prüfdatum] <= #01.03.2008#" << QList<int>{1, 5};
        QTest::newRow("end before start")
            << with(filed(), [](QueryCriteria &q) {
                   q.from = QDate(2008, 3, 2);
                   q.to = QDate(2008, 3, 1);
               })
            << german
            << filedBase + " AND [Prüfdatum] >= #02.03.2008# AND [Prüfdatum] <= #02.03.2008#"
            << QList<int>{3};
        QTest::newRow("english dates")
            << with(filed(), [](QueryCriteria &q) { q.from = QDate(2008, 3, 1); }) << english
            << filedBase + " AND [Prüfdatum] >= #03/01/2008#" << QList<int>{1, 2, 3, 4};
        QTest::newRow("flow range")
            << with(filed(), [](QueryCriteria &q) { q.flowMin = "2,5"; q.flowMax = "7"; })
            << german
            << filedBase + " AND [Fluss (l / h)] >= 2.5 AND [Fluss (l / h)] <= 7"
            << QList<int>{1, 3, 5};
        QTest::newRow("flow max only, english point")
            << with(filed(), [](QueryCriteria &q) { q.flowMax = " 2.5 "; }) << english
            << filedBase + " AND [Fluss (l / h)] <= 2.5" << QList<int>{1, 2, 4};
        QTest::newRow("flow that is no number adds nothing")
            << with(filed(), [](QueryCriteria &q) { q.flowMin = "abc"; })
            << german << filedBase << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("inspector")
            << with(filed(), [](QueryCriteria &q) { q.pruefer = "Meier"; }) << german
            << filedBase + " AND [Prüfer] LIKE 'Meier'" << QList<int>{1, 4, 5};
        QTest::newRow("inspector with a star matches literally")
            << with(filed(), [](QueryCriteria &q) { q.pruefer = "M*ier"; }) << german
            << filedBase + " AND [Prüfer] = 'M*ier'" << QList<int>{2};
        QTest::newRow("client with a quote")
            << with(filed(), [](QueryCriteria &q) { q.auftraggeber = "O'Brien"; }) << german
            << filedBase + " AND [Auftraggeber] LIKE 'O''Brien'" << QList<int>{2, 4};
        QTest::newRow("instrument")
            << with(filed(), [](QueryCriteria &q) { q.fabNr = "063 01 00043"; }) << german
            << filedBase + " AND [Fab-Nr] LIKE '063 01 00043'" << QList<int>{2};
        QTest::newRow("everything, in order")
            << with(filed(), [](QueryCriteria &q) {
                   q.pruefart = 0;
                   q.kundenNr = "4711";
                   q.befund = 0;
                   q.from = QDate(2008, 3, 1);
                   q.to = QDate(2008, 3, 1);
                   q.flowMin = "2";
                   q.flowMax = "3";
                   q.pruefer = "Meier";
                   q.auftraggeber = "Stadtwerke";
                   q.fabNr = "063 01 00042";
               })
            << german
            << filedBase + " AND [Prüfart] = 0 AND [Kunden-Nr] LIKE '4711' AND [Befund] LIKE '0'"
                           " AND [Prüfdatum] >= #01.03.2008# AND [Prüfdatum] <= #02.03.2008#"
                           " AND [Fluss (l / h)] >= 2 AND [Fluss (l / h)] <= 3"
                           " AND [Prüfer] LIKE 'Meier' AND [Auftraggeber] LIKE 'Stadtwerke'"
                           " AND [Fab-Nr] LIKE '063 01 00042'"
            << QList<int>{1};
    }

    void filterText()
    {
        QFETCH(QueryCriteria, criteria);
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        QFETCH(QList<int>, matches);
        const QString text = criteria.filterText(locale);
        QCOMPARE(text, expected);

        auto list = testsList();
        list->setFilter(text, locale);
        QList<int> ids;
        for (list->moveFirst(); !list->eof(); list->moveNext())
            ids << list->value(0).toInt();
        QCOMPARE(ids, matches);
    }

    void problem_data()
    {
        QTest::addColumn<QueryCriteria>("criteria");
        QTest::addColumn<int>("message");
        QTest::newRow("nothing") << QueryCriteria{} << 0;
        QTest::newRow("one day") << with(filed(), [](QueryCriteria &q) {
            q.from = QDate(2008, 3, 1);
            q.to = QDate(2008, 3, 1);
        }) << 0;
        QTest::newRow("end before start") << with(filed(), [](QueryCriteria &q) {
            q.from = QDate(2008, 3, 2);
            q.to = QDate(2008, 3, 1);
        }) << 25180;
        QTest::newRow("flow min no number")
            << with(filed(), [](QueryCriteria &q) { q.flowMin = "abc"; }) << 25181;
        QTest::newRow("flow max no number")
            << with(filed(), [](QueryCriteria &q) { q.flowMax = "1,2,3"; }) << 25181;
        QTest::newRow("flow blank") << with(filed(), [](QueryCriteria &q) { q.flowMax = " "; })
                                    << 0;
    }

    void problem()
    {
        QFETCH(QueryCriteria, criteria);
        QFETCH(int, message);
        QCOMPARE(criteria.problem(german), message);
    }

    void flowValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("value");
        QTest::newRow("german comma") << " 2,5 " << german << "2.5";
        QTest::newRow("english point") << "2.5" << english << "2.5";
        QTest::newRow("whole number") << "7" << german << "7";
        QTest::newRow("empty") << "  " << german << "";
        QTest::newRow("letters") << "abc" << german << "";
        QTest::newRow("infinity") << "inf" << english << "";
    }

    void flowValue()
    {
        QFETCH(QString, text);
        QFETCH(QLocale, locale);
        QFETCH(QString, value);
        QCOMPARE(QueryCriteria::flowValue(text, locale), value);
    }

    void columnFormat_data()
    {
        QTest::addColumn<ColumnFormat>("format");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("print");
        using F = ColumnFormat;
        QTest::newRow("finding OK") << F::Finding << QVariant(0) << "OK" << "OK";
        QTest::newRow("finding bOK") << F::Finding << QVariant(1) << "bOK" << "bOK";
        QTest::newRow("finding nOK") << F::Finding << QVariant(2) << "nOK" << "nOK";
        QTest::newRow("finding 3") << F::Finding << QVariant(3) << "Messabbruch" << "Messabbruch";
        QTest::newRow("finding 4") << F::Finding << QVariant(4) << "Messabbruch" << "Messabbruch";
        QTest::newRow("finding none") << F::Finding << QVariant(255) << "" << "";
        QTest::newRow("finding unknown") << F::Finding << QVariant(7) << "7" << "";
        QTest::newRow("gas meter missing") << F::GasMeterSafety << QVariant(3) << "fehlt" << "fehlt";
        QTest::newRow("gas meter nOK") << F::GasMeterSafety << QVariant(2) << "nOK" << "nOK";
        QTest::newRow("gas meter 1 unknown") << F::GasMeterSafety << QVariant(1) << "1" << "";
        QTest::newRow("gas meter none") << F::GasMeterSafety << QVariant(255) << "" << "";
        QTest::newRow("zero closure n/a") << F::ZeroClosure << QVariant(3) << "entfällt"
                                          << "entfällt";
        QTest::newRow("zero closure OK") << F::ZeroClosure << QVariant(0) << "OK" << "OK";
        QTest::newRow("not measured") << F::MissingValue << QVariant(-99999.0) << "" << "";
        QTest::newRow("measured") << F::MissingValue << QVariant(21.5) << "21.5" << "21.5";
        QTest::newRow("kind 0") << F::TestKind << QVariant(0) << "Gebrauchsfähigkeitsprüfung"
                                << "Gebrauchsfähigkeitsprüfung";
        QTest::newRow("kind 3") << F::TestKind << QVariant(3) << "Reglerprüfung"
                                << "Reglerprüfung";
        QTest::newRow("kind unknown") << F::TestKind << QVariant(9) << "9" << "";
        QTest::newRow("null") << F::Finding << QVariant() << "" << "";
    }

    void columnFormat()
    {
        QFETCH(ColumnFormat, format);
        QFETCH(QVariant, stored);
        QFETCH(QString, grid);
        QFETCH(QString, print);
        QCOMPARE(GridText(format, stored), grid);
        QCOMPARE(PrintText(format, stored), print);
    }

    // The grid's texts, alignment and header over a tests list of the select list's captions.
    void gridModel()
    {
        const ColumnCaptions &c = columnCaptions();
        using T = RecordsetField::Type;
        Recordset list({RecordsetField::named(c.capKundenNr, T::Text),
                        RecordsetField::named(c.capPruefart, T::Integer),
                        RecordsetField::named(c.capBefund, T::Integer),
                        RecordsetField::named(c.capRuhedruck, T::Real),
                        RecordsetField::named(c.capBefundGMSicherung, T::Integer),
                        RecordsetField::named(c.capBemerkung, T::Text)},
                       {{QStringLiteral("4711"), 3, 7, -99999.0, 3, QStringLiteral("2")}});
        RecordsetModel source(&list);
        StatisticsGridModel grid;
        grid.setSourceModel(&source);
        QStringList texts;
        for (int column = 0; column < grid.columnCount(); ++column)
            texts << grid.index(0, column).data().toString();
        QCOMPARE(texts, (QStringList{"4711", "Reglerprüfung", "7", "", "fehlt", "2"}));
        QCOMPARE(grid.index(0, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(grid.index(0, 3).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QVERIFY(!grid.index(0, 5).data(Qt::TextAlignmentRole).isValid());
        QCOMPARE(grid.headerData(0, Qt::Horizontal).toString(), c.capMessNrKundenNr);
        grid.setNewTests(false);
        QCOMPARE(grid.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Kunden-Nr"));
        QCOMPARE(grid.headerData(5, Qt::Horizontal).toString(), c.capBemerkung);
    }
};

QTEST_GUILESS_MAIN(QueryCriteriaTest)
#include "QueryCriteriaTest.moc"
