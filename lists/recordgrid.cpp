#include "recordgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace varnok {

// ------------------------------------------------------------------ model

GridModel::GridModel(int columns, QObject *parent) : QAbstractTableModel(parent), columns_(columns) {}

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int GridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : columns_; }

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QString &text = rows_[index.row()][index.column()];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return text;
    if (role == Qt::ToolTipRole && (text.size() > 20 || text.contains(QLatin1Char('\n'))))
        return text;
    return {};
}

void GridModel::setRowCount(int rows)
{
    rows = qMax(rows, 0);
    const int current = int(rows_.size());
    if (rows > current) {
        beginInsertRows({}, current, rows - 1);
        rows_.reserve(rows);
        while (rows_.size() < rows)
            rows_.append(QStringList(columns_, QString()));
        endInsertRows();
    } else if (rows < current) {
        beginRemoveRows({}, rows, current - 1);
        rows_.resize(rows);
        endRemoveRows();
    }
}

QString GridModel::cell(int column, int row) const
{
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_)
        return {};
    return rows_[row][column];
}

void GridModel::setCell(int column, int row, const QString &text)
{
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_)
        return;
    rows_[row][column] = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at);
}

void GridModel::setRow(int row, const QStringList &cells)
{
    if (row < 0 || row >= rows_.size())
        return;
    QStringList padded = cells.mid(0, columns_);
    while (padded.size() < columns_)
        padded.append(QString());
    rows_[row] = padded;
    emit dataChanged(index(row, 0), index(row, columns_ - 1));
}

void GridModel::appendRows(const QList<QStringList> &rows)
{
    if (rows.isEmpty())
        return;
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    rows_.reserve(first + rows.size());
    for (const QStringList &cells : rows) {
        QStringList padded = cells.mid(0, columns_);
        while (padded.size() < columns_)
            padded.append(QString());
        rows_.append(padded);
    }
    endInsertRows();
}

void GridModel::removeRowAt(int row)
{
    if (row < 0 || row >= rows_.size())
        return;
    beginRemoveRows({}, row, row);
    rows_.removeAt(row);
    endRemoveRows();
}

// --------------------------------------------------------------- delegate

namespace {

// Fixed rows look like header sections; line breaks in a cell show as a
// mark, so a memo reads on one line (the tooltip has the whole text).
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(RecordGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        QString text = QStyledItemDelegate::displayText(value, locale);
        text.replace(QLatin1String("\r\n"), QLatin1String(" ↵ "));
        text.replace(QLatin1Char('\n'), QLatin1String(" ↵ "));
        text.replace(QLatin1Char('\r'), QLatin1String(" ↵ "));
        return text;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.row() < grid_->fixedRows()) {
            QStyleOptionHeader header;
            header.rect = option.rect;
            header.state = QStyle::State_Enabled | QStyle::State_Raised;
            header.text = displayText(index.data(), option.locale);
            header.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
            header.palette = option.palette;
            header.fontMetrics = option.fontMetrics;
            painter->save();
            grid_->style()->drawControl(QStyle::CE_Header, &header, painter, grid_);
            painter->restore();
            return;
        }
        QStyleOptionViewItem opt(option);
        if (!grid_->paintsCurrentCell() && index == grid_->currentIndex() && (opt.state & QStyle::State_Selected)) {
            // Drawn as an ordinary cell: cover the selection the view laid down.
            painter->fillRect(opt.rect, opt.palette.brush(QPalette::Base));
            opt.state &= ~QStyle::State_Selected;
        }
        QStyledItemDelegate::paint(painter, opt, index);
    }

private:
    RecordGrid *grid_;
};

}  // namespace

// ------------------------------------------------------------------- view

RecordGrid::RecordGrid(int columns, QWidget *parent) : QTableView(parent), model_(new GridModel(columns, this))
{
    setModel(model_);
    setItemDelegate(new GridDelegate(this));
    // A size smaller than the form's, so a date fits its narrow column.
    QFont cells = font();
    cells.setPixelSize(11);
    setFont(cells);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setMinimumSectionSize(16);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    model_->setRowCount(1);
    setCurrentCell(0, 0);
}

void RecordGrid::setRowCount(int rows)
{
    model_->setRowCount(rows);
    if (fixedRows_ >= rowCount())
        fixedRows_ = qMax(rowCount() - 1, 0);
    viewport()->update();
}

void RecordGrid::removeGridRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const int column = currentCol();
    const int current = currentRow();
    model_->removeRowAt(row);
    if (fixedRows_ >= rowCount())
        fixedRows_ = qMax(rowCount() - 1, 0);
    // The current cell keeps its place, or goes to the new last row.
    const int target = qMin(current, rowCount() - 1);
    if (target >= 0 && column >= 0)
        selectionModel()->setCurrentIndex(model_->index(target, column), QItemSelectionModel::ClearAndSelect);
    viewport()->update();
}

void RecordGrid::setFixedRows(int rows)
{
    rows = qBound(0, rows, qMax(rowCount() - 1, 0));
    if (rows == fixedRows_)
        return;
    fixedRows_ = rows;
    // Wherever it was, the current cell goes to the first cell below the
    // fixed rows.
    setCurrentCell(0, fixedRows_);
    viewport()->update();
}

int RecordGrid::currentRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

int RecordGrid::currentCol() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

void RecordGrid::setCurrentCell(int column, int row)
{
    const QModelIndex target = model_->index(row, column);
    if (target.isValid())
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
}

void RecordGrid::setColumnWidths(const QList<int> &widths)
{
    for (int c = 0; c < widths.size() && c < colCount(); ++c)
        setColumnWidth(c, widths[c]);
}

void RecordGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && at.row() < fixedRows_) {
        pressed_ = QPersistentModelIndex();
        event->accept();
        return;
    }
    pressed_ = at;
    QTableView::mousePressEvent(event);
}

void RecordGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (!pressed_.isValid())
        return;
    // The cell where the button went down stays current, however far the
    // pointer was dragged.
    const QModelIndex pressed = pressed_;
    pressed_ = QPersistentModelIndex();
    if (currentIndex() != pressed)
        selectionModel()->setCurrentIndex(pressed, QItemSelectionModel::NoUpdate);
    emit gridClicked();
}

void RecordGrid::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex() != before)
        emit gridClicked();
}

QModelIndex RecordGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (next.isValid() && next.row() < fixedRows_) {
        // Stay out of the header: go to the first entry row of that column.
        if (currentIndex().isValid() && currentIndex().row() >= fixedRows_ && rowCount() > fixedRows_)
            return model_->index(fixedRows_, next.column());
        return currentIndex();
    }
    return next;
}

}  // namespace varnok
