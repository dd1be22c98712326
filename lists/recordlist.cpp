#include "recordlist.h"

#include "dictionary/dictionary.h"
#include "document/layout.h"
#include "xml/xmldocument.h"
#include "widgets/recordgrid.h"
#include "widgets/fields.h"
#include "widgets/prompts.h"

#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace varnok {

namespace {

QWidget *createField(const ListField &f, QWidget *parent)
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
    control->setObjectName(f.name);
    control->setGeometry(f.geometry);

    auto *label = new QLabel(f.caption, parent);
    label->setObjectName(f.name + QLatin1String("_label"));
    label->adjustSize();
    if (f.kind == FieldKind::LabeledEdit)
        label->move(f.geometry.x() - 3 - label->width(), f.geometry.y() + (f.geometry.height() - label->height()) / 2);
    else
        label->move(f.captionAt);
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

}  // namespace

RecordList::RecordList(const RecordListDef &def, QWidget *tabPage, ListHost &host)
    : QObject(tabPage), def_(def), host_(host)
{
    auto *group = new QGroupBox(def.groupCaption, tabPage);
    group->setObjectName(def.tabName + QLatin1String("_group"));
    group->setGeometry(def.group);

    for (const ListField &f : def.fields)
        fields_.push_back(createField(f, group));

    grid_ = new RecordGrid(def.columnCount(), group);
    grid_->setObjectName(def.grid.name);
    grid_->setGeometry(def.grid.geometry);
    grid_->setColumnWidths(def.columnWidths());
    grid_->setPaintCurrentCell(def.paintCurrentCell);

    addButton_ = new QPushButton(AddCaption, group);
    addButton_->setObjectName(def.addButton.name);
    addButton_->setGeometry(def.addButton.geometry);
    saveButton_ = new QPushButton(QStringLiteral("保存"), group);
    saveButton_->setObjectName(def.saveButton.name);
    saveButton_->setGeometry(def.saveButton.geometry);

    // Keyboard order as the definition numbers it.
    std::vector<std::pair<int, QWidget *>> order;
    for (size_t i = 0; i < fields_.size(); ++i)
        order.emplace_back(def.fields[i].tabOrder, fields_[i]);
    order.emplace_back(def.grid.tabOrder, grid_);
    order.emplace_back(def.addButton.tabOrder, addButton_);
    order.emplace_back(def.saveButton.tabOrder, saveButton_);
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

QWidget *RecordList::field(const QString &name) const
{
    const int index = def_.fieldIndex(name);
    return index < 0 ? nullptr : fields_[size_t(index)];
}

bool RecordList::inEditMode() const { return addButton_->text() == CommitCaption; }

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
        host_.prompts().message(host_.dialogParent(), failed->message);
        field(failed->field)->setFocus();
        return;
    }
    saveButton_->setEnabled(true);
    const int n = grid_->rowCount();
    if (addButton_->text() == AddCaption) {
        grid_->setRowCount(n + 1);
        grid_->setRow(n, entryRow(values));
    } else if (addButton_->text() == CommitCaption) {
        const int r = grid_->currentRow();
        if (r <= 0) {
            addButton_->setText(AddCaption);
            return;
        }
        grid_->setRow(r, entryRow(values));
        addButton_->setText(AddCaption);
    }
    clearEntryFields();
    if (n > 0)
        grid_->setFixedRows(1);
}

void RecordList::gridClick()
{
    if (grid_->currentCol() == def_.deleteColumn() && grid_->currentRow() > 0) {
        grid_->removeGridRow(grid_->currentRow());
        saveButton_->setEnabled(true);
    }
    if (grid_->currentCol() == def_.editColumn() && grid_->currentRow() > 0) {
        addButton_->setText(CommitCaption);
        saveButton_->setEnabled(false);
        loadRowIntoFields(grid_->currentRow());
    }
}

void RecordList::loadRowIntoFields(int row)
{
    // Field by field: a date cell that does not convert stops here, and the
    // fields copied before it keep their new contents.
    for (size_t i = 0; i < fields_.size(); ++i)
        setControlValue(fields_[i], grid_->cell(int(i), row));
}

bool RecordList::save()
{
    const QString path = host_.currentDocumentPath();
    if (path.isEmpty() && host_.applicantName().isEmpty()) {
        host_.prompts().message(host_.dialogParent(), MsgFillBasicFirst);
        host_.showApplicantName();
        return false;
    }
    if (path.isEmpty() || !QFile::exists(path))
        return false;
    XmlDocument &doc = host_.document();
    doc.loadFromFile(path);
    // Written as every save writes, whatever the file declared when it was read.
    doc.setDeclaration(DocumentVersion, DocumentEncoding);
    writeListSection(doc, listLayouts()[size_t(def_.id)], rows(), [this] { return host_.newRecordId(); });
    doc.save(path);
    host_.showSavedPath();
    saveButton_->setEnabled(false);
    return true;
}

void RecordList::writeHeadings() { grid_->setRow(0, def_.headers()); }

void RecordList::clearEntryFields()
{
    for (QWidget *control : fields_)
        clearField(control);
}

void RecordList::clearAll()
{
    clearEntryFields();
    grid_->setRowCount(1);
}

void RecordList::appendEntries(const ListRows &rows)
{
    ListRows full;
    full.reserve(rows.size());
    for (const QStringList &row : rows)
        full.append(entryRow(row));
    grid_->appendRows(full);
}

}  // namespace varnok
