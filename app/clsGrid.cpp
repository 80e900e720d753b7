#include "app/clsGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

clsGrid::clsGrid(QObject *parent)
    : QObject(parent)
{
    m_autoScroll.setInterval(60);
    connect(&m_autoScroll, &QTimer::timeout, this, &clsGrid::autoScroll);
}

void clsGrid::setGrid(QTableView *grid)
{
    if (m_grid) {
        m_grid->viewport()->removeEventFilter(this);
        m_grid->verticalHeader()->viewport()->removeEventFilter(this);
        m_grid->horizontalHeader()->viewport()->removeEventFilter(this);
        m_grid->removeEventFilter(this);
    }
    m_grid = grid;
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setAutoScroll(false); // drags scroll through autoScroll() only
    m_grid->viewport()->installEventFilter(this);
    m_grid->verticalHeader()->viewport()->installEventFilter(this);
    m_grid->horizontalHeader()->viewport()->installEventFilter(this);
    m_grid->installEventFilter(this);
    setMultiBookmark(m_multi);
    // In multi-selection mode moving the current row selects nothing by itself; a Shift move
    // adds the rows between the old and the new current row.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_extendFrom >= 0 && current.isValid())
                    addRows(m_extendFrom, current.row());
                m_extendFrom = -1;
            });
}

void clsGrid::setMultiBookmark(bool on)
{
    m_multi = on;
    if (m_grid) {
        m_grid->setSelectionMode(on ? QAbstractItemView::MultiSelection
                                    : QAbstractItemView::SingleSelection);
    }
}

QList<int> clsGrid::selectedRows() const
{
    QList<int> rows;
    if (!m_grid || !m_grid->selectionModel())
        return rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    return rows;
}

void clsGrid::ClearGridSelection()
{
    if (m_grid && m_grid->selectionModel())
        m_grid->selectionModel()->clearSelection();
}

void clsGrid::addRows(int from, int to)
{
    auto *model = m_grid->model();
    if (!model || from < 0 || to < 0)
        return;
    if (from > to)
        std::swap(from, to);
    to = std::min(to, model->rowCount() - 1);
    const QItemSelection rows(model->index(from, 0), model->index(to, model->columnCount() - 1));
    m_grid->selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

int clsGrid::rowAt(int headerY) const
{
    return m_grid->verticalHeader()->logicalIndexAt(headerY);
}

void clsGrid::autoScroll()
{
    QScrollBar *bar = m_grid->verticalScrollBar();
    bar->setValue(bar->value() + m_scrollDirection);
    const int firstVisible = m_grid->rowAt(0);
    const int lastVisible = m_grid->rowAt(m_grid->viewport()->height() - 1);
    if (m_scrollDirection > 0)
        addRows(m_startRow, lastVisible < 0 ? m_grid->model()->rowCount() - 1 : lastVisible);
    else
        addRows(firstVisible, m_startRow);
}

bool clsGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_grid)
        return false;
    const bool onRowHeaders = watched == m_grid->verticalHeader()->viewport();
    const bool onColumnHeaders = watched == m_grid->horizontalHeader()->viewport();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressOverHeader = onColumnHeaders;
        if (onRowHeaders && m_multi && mouse->button() == Qt::LeftButton) {
            m_startRow = rowAt(mouse->position().toPoint().y());
            if (m_startRow >= 0) {
                m_dragging = true;
                ClearGridSelection();
                addRows(m_startRow, m_startRow);
                m_grid->setCurrentIndex(m_grid->model()->index(m_startRow, 0));
            }
            return true;
        }
        if (watched == m_grid->viewport() && mouse->button() == Qt::LeftButton) {
            // A plain click leaves exactly the clicked row selected.
            const QModelIndex index = m_grid->indexAt(mouse->position().toPoint());
            m_grid->setFocus(Qt::MouseFocusReason);
            ClearGridSelection();
            if (index.isValid()) {
                m_grid->setCurrentIndex(index);
                addRows(index.row(), index.row());
            }
            return true;
        }
        return false;
    }
    case QEvent::MouseMove: {
        if (!m_dragging || !onRowHeaders)
            return false;
        const int y = static_cast<QMouseEvent *>(event)->position().toPoint().y();
        const int height = m_grid->verticalHeader()->viewport()->height();
        m_scrollDirection = y < 0 ? -1 : y >= height ? 1 : 0;
        if (m_scrollDirection != 0) {
            if (!m_autoScroll.isActive())
                m_autoScroll.start();
        } else {
            m_autoScroll.stop();
            addRows(m_startRow, rowAt(y)); // rows are only added while dragging
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_autoScroll.stop();
        m_dragging = false;
        return onRowHeaders;
    case QEvent::FocusOut:
        m_autoScroll.stop();
        return false;
    case QEvent::KeyPress: {
        if (watched != m_grid || !m_multi)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const bool navigation = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down
                                || key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
        if (!navigation)
            return false;
        if (key->modifiers() == Qt::NoModifier)
            ClearGridSelection();
        else if (key->modifiers() == Qt::ShiftModifier)
            m_extendFrom = m_grid->currentIndex().row(); // completed in currentRowChanged
        return false;
    }
    default:
        return false;
    }
}
