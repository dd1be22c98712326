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

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The heading row, shown by the view's header once it is fixed.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && !rows_.isEmpty() && section >= 0 &&
        section < columns_)
        return rows_[0][section];
    return {};
}

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
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, column, column);
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
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
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

void GridModel::insertRowAt(int row, const QStringList &cells)
{
    row = qBound(0, row, int(rows_.size()));
    QStringList padded = cells.mid(0, columns_);
    while (padded.size() < columns_)
        padded.append(QString());
    beginInsertRows({}, row, row);
    rows_.insert(row, padded);
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

const QString LineBreakMark = QStringLiteral(" ↵ ");

// Line breaks in a cell show as a mark, so a memo reads on one line (the
// tooltip has the whole text); the current cell is painted as an ordinary
// cell unless the grid says otherwise.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(RecordGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        // Before the base class turns "\n" into a line separator.
        QString text = value.toString();
        text.replace(QStringLiteral("\r\n"), LineBreakMark);
        for (const QChar lineBreak :
             {QChar(u'\n'), QChar(u'\r'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
            text.replace(lineBreak, LineBreakMark);
        return QStyledItemDelegate::displayText(text, locale);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
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
    // The fixed heading row is the view's header: it stays at the top while
    // the entries scroll, and a press on it selects nothing.
    QHeaderView *heading = horizontalHeader();
    heading->setFont(cells);
    heading->setFixedHeight(RowHeight);
    heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(RowHeight);
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
        showFixedRows(qMax(rowCount() - 1, 0));
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
        showFixedRows(qMax(rowCount() - 1, 0));
    // The current cell keeps its place, or goes to the new last row.
    const int target = qMin(current, rowCount() - 1);
    if (target >= 0 && column >= 0)
        selectionModel()->setCurrentIndex(model_->index(target, column), QItemSelectionModel::ClearAndSelect);
    viewport()->update();
}

void RecordGrid::insertGridRow(int row, const QStringList &cells)
{
    const int column = qMax(currentCol(), 0);
    const int current = currentRow();
    model_->insertRowAt(row, cells);
    const int target = current >= row ? current + 1 : current;
    if (target >= 0)
        selectionModel()->setCurrentIndex(model_->index(target, column), QItemSelectionModel::ClearAndSelect);
    viewport()->update();
}

void RecordGrid::setFixedRows(int rows)
{
    rows = qBound(0, rows, qMin(qMax(rowCount() - 1, 0), 1));
    if (rows == fixedRows_)
        return;
    showFixedRows(rows);
    // Wherever it was, the current cell goes to the first cell below the
    // fixed rows.
    setCurrentCell(0, fixedRows_);
    viewport()->update();
}

void RecordGrid::showFixedRows(int rows)
{
    fixedRows_ = rows;
    setRowHidden(0, fixedRows_ > 0);
    horizontalHeader()->setVisible(fixedRows_ > 0);
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

// A click is a press on an entry cell and its release. A press anywhere else
// (the fixed row, below the last row) starts nothing: what follows until the
// release moves nothing and reports nothing.
void RecordGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    clicking_ = at.isValid() && at.row() >= fixedRows_;
    if (!clicking_) {
        event->accept();
        return;
    }
    pressed_ = at;
    QTableView::mousePressEvent(event);
}

void RecordGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!clicking_ && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

// The second press of a double-click is not another click.
void RecordGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    clicking_ = false;
    event->accept();
}

void RecordGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (!clicking_) {
        event->accept();
        return;
    }
    clicking_ = false;
    QTableView::mouseReleaseEvent(event);
    // The cell where the button went down stays current, however far the
    // pointer was dragged.
    if (pressed_.isValid() && currentIndex() != pressed_)
        selectionModel()->setCurrentIndex(pressed_, QItemSelectionModel::NoUpdate);
    pressed_ = QPersistentModelIndex();
    emit gridClicked();
}

// The arrow keys, Tab, Home, End and the page keys only move the current
// cell: moving onto "编辑" or "删除" must never edit or remove anything. Enter
// or Space acts on the current cell as a click on it does, once however long
// the key is held.
void RecordGrid::keyPressEvent(QKeyEvent *event)
{
    const bool acts =
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (acts) {
        event->accept();
        // A key held down acts once: held on "删除" it must not empty the list.
        if (!event->isAutoRepeat() && currentIndex().isValid() && currentRow() >= fixedRows_)
            emit gridClicked();
        return;
    }
    QTableView::keyPressEvent(event);
}

// Typing a letter or digit does not go looking for a cell that starts with it.
void RecordGrid::keyboardSearch(const QString &) {}

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
