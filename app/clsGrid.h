#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

class QTableView;

// Gives a grid of tests or master data its multi-row selection: Shift with the arrow and page
// keys extends it, a drag over the row headers adds every row passed over (scrolling on its
// own past the top or bottom edge), and a plain click leaves only the clicked row selected.
// Also tells its window whether the last mouse press was over the column header.
class clsGrid : public QObject
{
    Q_OBJECT
public:
    explicit clsGrid(QObject *parent = nullptr);

    // Attach after the grid has its model: the selection model is watched.
    void setGrid(QTableView *grid);  // myGrid
    void setMultiBookmark(bool on);  // MultiBookmark
    bool Mouseoberheader() const { return m_pressOverHeader; }

    // The selected rows in the order they were selected (the bookmarks of the selection).
    QList<int> selectedRows() const;
    void ClearGridSelection();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addRows(int from, int to);
    void autoScroll();
    int rowAt(int headerY) const;

    QTableView *m_grid = nullptr;
    bool m_multi = false;
    bool m_pressOverHeader = false;
    bool m_dragging = false;
    int m_startRow = -1;
    int m_scrollDirection = 0;
    int m_extendFrom = -1;
    QTimer m_autoScroll;
};
