#include "recordlist.h"

#include "lists/listplacement.h"
#include "rules/entrychecks.h"
#include "widgets/fields.h"
#include "widgets/prompts.h"
#include "widgets/recordgrid.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace varnok {

namespace {

QWidget *createField(const ListField &f, const FieldPlace &place, QWidget *parent)
{
    QWidget *control = nullptr;
    switch (f.kind) {
    case FieldKind::Edit:
    case FieldKind::LabeledEdit:
        control = makeLineEdit(parent);
        break;
    case FieldKind::Date:
        control = makeDatePicker(parent);
        break;
    case FieldKind::Memo:
        control = makeMemo(parent);
        break;
    case FieldKind::Combo: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(false);
        control = combo;
        break;
    }
    case FieldKind::Mask:
        control = new MaskEdit(f.maskPositions, parent);
        break;
    }
    control->setObjectName(f.control);
    control->setGeometry(place.geometry);

    auto *label = new QLabel(f.caption, parent);
    label->setObjectName(f.control + QLatin1String("_label"));
    label->adjustSize();
    if (f.kind == FieldKind::LabeledEdit)
        label->move(place.geometry.x() - 3 - label->width(),
                    place.geometry.y() + (place.geometry.height() - label->height()) / 2);
    else
        label->move(place.captionAt);
    label->setBuddy(control);
    return control;
}

void clearField(QWidget *control)
{
    if (auto *mask = qobject_cast<MaskEdit *>(control))
        mask->setMaskText(QString());
    else if (auto *date = qobject_cast<QDateEdit *>(control))
        date->setDate(QDate::currentDate());
    else
        setControlValue(control, QString());
}

// The grid row for these entry values: the field texts and the two actions.
QStringList entryRow(const QStringList &values) { return QStringList(values) << EditAction << DeleteAction; }

}  // namespace

RecordList::RecordList(ListId id, QWidget *tabPage, Prompts &prompts, QWidget *dialogParent)
    : QObject(tabPage), def_(recordListDef(id)), prompts_(prompts), dialogParent_(dialogParent)
{
    const ListPlacement &place = listPlacement(id);
    auto *group = new QGroupBox(def_.groupCaption, tabPage);
    group->setObjectName(def_.tabName + QLatin1String("_group"));
    group->setGeometry(place.group);

    for (size_t i = 0; i < def_.fields.size(); ++i)
        fields_.push_back(createField(def_.fields[i], place.fields[i], group));

    grid_ = new RecordGrid(def_.columnCount(), group);
    grid_->setObjectName(def_.grid);
    grid_->setGeometry(place.grid.geometry);
    grid_->setColumnWidths(place.columnWidths());
    grid_->setPaintCurrentCell(place.paintCurrentCell);

    addButton_ = new QPushButton(AddCaption, group);
    addButton_->setObjectName(def_.addButton);
    addButton_->setGeometry(place.addButton.geometry);
    saveButton_ = new QPushButton(QStringLiteral("保存"), group);
    saveButton_->setObjectName(def_.saveButton);
    saveButton_->setGeometry(place.saveButton.geometry);

    // Keyboard order as the placement numbers it.
    std::vector<std::pair<int, QWidget *>> order;
    for (size_t i = 0; i < fields_.size(); ++i)
        order.emplace_back(place.fields[i].tabOrder, fields_[i]);
    order.emplace_back(place.grid.tabOrder, grid_);
    order.emplace_back(place.addButton.tabOrder, addButton_);
    order.emplace_back(place.saveButton.tabOrder, saveButton_);
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

int RecordList::entryCount() const { return qMax(grid_->rowCount() - 1, 0); }

ListRows RecordList::rows() const
{
    ListRows out;
    out.reserve(entryCount());
    for (int r = 1; r < grid_->rowCount(); ++r)
        out.append(grid_->rowCells(r).mid(0, int(def_.fields.size())));
    return out;
}

QStringList RecordList::entryValues() const
{
    QStringList values;
    for (QWidget *control : fields_)
        values << controlValue(control);
    return values;
}

void RecordList::addOrCommit()
{
    const QStringList values = entryValues();
    if (const auto failed = firstFailingCheck(def_, values)) {
        prompts_.message(dialogParent_, failed->message);
        fields_[size_t(def_.fieldIndex(failed->field))]->setFocus();
        return;
    }
    saveButton_->setEnabled(true);
    const int n = grid_->rowCount();
    if (!editing_) {
        grid_->setRowCount(n + 1);
        grid_->setRow(n, entryRow(values));
    } else {
        const int r = grid_->currentRow();
        if (r <= 0) {
            setEditing(false);
            return;
        }
        grid_->setRow(r, entryRow(values));
        setEditing(false);
    }
    clearEntryFields();
    if (n > 0)
        grid_->setFixedRows(1);
}

void RecordList::gridClick()
{
    if (grid_->currentCol() == def_.deleteColumn() && grid_->currentRow() > 0) {
        const int row = grid_->currentRow();
        removed_ = Removed{row, grid_->rowCells(row)};
        grid_->removeGridRow(row);
        saveButton_->setEnabled(true);
        emit undoAvailableChanged(true);
    }
    if (grid_->currentCol() == def_.editColumn() && grid_->currentRow() > 0) {
        setEditing(true);
        saveButton_->setEnabled(false);
        loadRowIntoFields(grid_->currentRow());
    }
}

void RecordList::undoRemove()
{
    if (!removed_)
        return;
    const Removed entry = *removed_;
    forgetRemoved();
    grid_->insertGridRow(qMin(entry.row, grid_->rowCount()), entry.cells);
    // The heading is fixed again once there is an entry below it, as an add
    // makes it.
    if (grid_->fixedRows() == 0 && grid_->rowCount() > 1)
        grid_->setFixedRows(1);
    grid_->scrollTo(grid_->model()->index(entry.row, 0));
    saveButton_->setEnabled(true);
}

void RecordList::forgetRemoved()
{
    if (!removed_)
        return;
    removed_.reset();
    emit undoAvailableChanged(false);
}

void RecordList::setEditing(bool editing)
{
    editing_ = editing;
    addButton_->setText(editing ? CommitCaption : AddCaption);
}

void RecordList::loadRowIntoFields(int row)
{
    // Field by field: a date cell that does not convert stops here, and the
    // fields copied before it keep their new contents.
    for (size_t i = 0; i < fields_.size(); ++i)
        setControlValue(fields_[i], grid_->cell(int(i), row));
}

void RecordList::start(const QDate &today)
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (auto *date = qobject_cast<QDateEdit *>(fields_[i]))
            date->setDate(today);
        if (auto *combo = qobject_cast<QComboBox *>(fields_[i]))
            fillPickList(combo, def_.fields[i].dictType, def_.fields[i].items);
    }
    grid_->setRow(0, def_.headers());
}

void RecordList::clearEntryFields()
{
    for (QWidget *control : fields_)
        clearField(control);
}

void RecordList::clearAll()
{
    clearEntryFields();
    grid_->setRowCount(1);
    forgetRemoved();
}

void RecordList::appendEntries(const ListRows &rows)
{
    ListRows full;
    full.reserve(rows.size());
    for (const QStringList &row : rows)
        full.append(entryRow(row));
    grid_->appendRows(full);
}

EntryState RecordList::entryState() const
{
    const bool editing = inEditMode();
    return {entryValues(), editing, editing ? grid_->currentRow() : -1};
}

void RecordList::restoreEntry(const EntryState &entry)
{
    for (size_t i = 0; i < fields_.size(); ++i)
        setControlValue(fields_[i], entry.values.value(int(i)));
    setEditing(entry.editing);
    if (entry.editing) {
        saveButton_->setEnabled(false);
        grid_->setCurrentCell(0, entry.row);
    }
}

}  // namespace varnok
