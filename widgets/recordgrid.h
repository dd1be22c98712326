// A string grid for a record list: row 0 holds the headings, as an ordinary
// row until the list makes it the fixed header row, which stays at the top
// while the entries scroll and never becomes the current cell. Releasing the
// mouse on a non-fixed cell it was pressed on reports a click, and so do Enter
// and Space on the current cell; the other keys only move the current cell.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

namespace varnok {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(int columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setRowCount(int rows);
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    const QStringList &row(int row) const { return rows_[row]; }
    void setRow(int row, const QStringList &cells);
    void appendRows(const QList<QStringList> &rows);
    void removeRowAt(int row);
    void insertRowAt(int row, const QStringList &cells);

private:
    int columns_;
    QList<QStringList> rows_;
};

class RecordGrid : public QTableView {
    Q_OBJECT
public:
    explicit RecordGrid(int columns, QWidget *parent = nullptr);

    int rowCount() const { return model_->rowCount(); }
    int colCount() const { return model_->columnCount(); }
    // Fewer rows than fixed rows lowers the fixed-row count: a grid never has
    // as many fixed rows as rows.
    void setRowCount(int rows);
    QString cell(int column, int row) const { return model_->cell(column, row); }
    void setCell(int column, int row, const QString &text) { model_->setCell(column, row, text); }
    QStringList rowCells(int row) const { return model_->row(row); }
    void setRow(int row, const QStringList &cells) { model_->setRow(row, cells); }
    void appendRows(const QList<QStringList> &rows) { model_->appendRows(rows); }
    // Remove an entry row; later rows move up one place.
    void removeGridRow(int row);
    // Put a row in at this place; it and later rows move down one place, and
    // the current cell stays on the entry it was on.
    void insertGridRow(int row, const QStringList &cells);

    static constexpr int RowHeight = 24;

    // 0, or 1 when the heading row is fixed. Making row 0 fixed for the first
    // time puts the current cell on column 0 of row 1.
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int rows);

    int currentRow() const;
    int currentCol() const;
    void setCurrentCell(int column, int row);

    void setColumnWidths(const QList<int> &widths);
    // Whether the current cell is painted in the selection colour too.
    void setPaintCurrentCell(bool paint) { paintCurrentCell_ = paint; }
    bool paintsCurrentCell() const { return paintCurrentCell_; }

signals:
    void gridClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &search) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void showFixedRows(int rows);

    GridModel *model_;
    int fixedRows_ = 0;
    bool paintCurrentCell_ = false;
    QPersistentModelIndex pressed_;
    bool clicking_ = false;  // a press on an entry cell, not yet released
};

}  // namespace varnok
