#include "app/clsGrid.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

class clsGridTest : public QObject
{
    Q_OBJECT

    QStandardItemModel model{40, 3};
    QTableView view;
    clsGrid grid;

    QPoint rowHeaderPoint(int row)
    {
        return QPoint(5, view.verticalHeader()->sectionViewportPosition(row) + 3);
    }
    QPoint cellPoint(int row)
    {
        return view.visualRect(model.index(row, 1)).center();
    }
    QList<int> sortedSelection()
    {
        QList<int> rows = grid.selectedRows();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

private slots:
    void initTestCase()
    {
        view.setModel(&model);
        view.resize(400, 300);
        grid.setGrid(&view);
        grid.setMultiBookmark(true);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    void init() { grid.ClearGridSelection(); }

    void plainClickAfterShiftExtensionSelectsOnlyTheClickedRow()
    {
        view.setFocus();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cellPoint(1));
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(sortedSelection(), (QList<int>{1, 2, 3}));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cellPoint(5));
        QCOMPARE(sortedSelection(), QList<int>{5});
        QTest::keyClick(&view, Qt::Key_Down);
        QVERIFY(grid.selectedRows().isEmpty());
    }

    void dragOverRowHeadersOnlyAddsRows()
    {
        QWidget *headers = view.verticalHeader()->viewport();
        QTest::mousePress(headers, Qt::LeftButton, {}, rowHeaderPoint(2));
        QMouseEvent move5(QEvent::MouseMove, rowHeaderPoint(5), headers->mapToGlobal(rowHeaderPoint(5)),
                          Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(headers, &move5);
        QMouseEvent move3(QEvent::MouseMove, rowHeaderPoint(3), headers->mapToGlobal(rowHeaderPoint(3)),
                          Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(headers, &move3);
        QTest::mouseRelease(headers, Qt::LeftButton, {}, rowHeaderPoint(3));
        QCOMPARE(sortedSelection(), (QList<int>{2, 3, 4, 5}));
    }

    void pressOverColumnHeaderIsReported()
    {
        QTest::mousePress(view.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QVERIFY(grid.Mouseoberheader());
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cellPoint(0));
        QVERIFY(!grid.Mouseoberheader());
    }

    void withoutMultiBookmarkKeysChangeNoSelection()
    {
        grid.setMultiBookmark(false);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cellPoint(1));
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid.selectedRows().size(), 1);
        grid.setMultiBookmark(true);
    }
};

QTEST_MAIN(clsGridTest)
#include "clsGridTest.moc"
