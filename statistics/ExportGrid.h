#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

class QAbstractItemModel;

// The text a grid cell shows for a value, as the grid's standard item delegate writes it:
// numbers and dates in the locale's format, everything else as text.
QString GridDisplayText(const QVariant &value, const QLocale &locale = QLocale::system());

// The tests grid as the exports read it: its columns in grid order with their captions and
// visibility, and the text each cell shows.
class ExportGrid
{
public:
    // model: the grid's model; order: its columns (model columns) from left to right;
    // visible: per model column.
    ExportGrid(const QAbstractItemModel &model, QList<int> order, QList<bool> visible,
               const QLocale &locale = QLocale::system());

    int rowCount() const;
    // The model columns from left to right.
    const QList<int> &columns() const { return m_order; }
    QString caption(int column) const;
    bool visible(int column) const;
    QString text(int row, int column) const;

    // The column of the tests list field named by a caption variable; -1 when there is none.
    int columnOf(const QString &fieldCaption) const;
    // The text of row in the column of a caption variable; empty when there is no such column.
    QString cell(int row, const QString &fieldCaption) const;
    // The caption the grid shows for the column of a caption variable.
    QString captionOf(const QString &fieldCaption) const;

    const QLocale &locale() const { return m_locale; }

private:
    const QAbstractItemModel &m_model;
    const QAbstractItemModel &m_fields; // the model below any proxy: the field names
    QList<int> m_order;
    QList<bool> m_visible;
    QLocale m_locale;
};
