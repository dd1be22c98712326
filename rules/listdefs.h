// The four record lists as data: their controls, grid columns, entry checks
// and document names. One generic list works from these.
#pragma once

#include "document/layout.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace varnok {

enum class FieldKind { Edit, LabeledEdit, Date, Memo, Combo, Mask };

// One entry field; field i fills grid column i.
struct ListField {
    QString name;       // objectName of the control
    FieldKind kind;
    QString caption;    // label text
    QPoint captionAt;   // label position (labelled edits place their own)
    QRect geometry;
    int tabOrder;
    QString header;     // grid heading of its column
    int width;          // grid column width
    QString dictType;   // drop-down lists: dictionary type
    int maskPositions = 0;
};

struct ListCheck {
    enum Kind { Blank, NoSelection, DateOrder };
    Kind kind;
    QString field;      // the field tested; receives the focus
    QString endField;   // DateOrder: the end date
    QString message;
};

struct PlacedControl {
    QString name;
    QRect geometry;
    int tabOrder;
};

struct RecordListDef {
    ListId id;
    QString tabName;
    QString tabCaption;
    QString groupCaption;
    QRect group;
    PlacedControl grid;
    PlacedControl addButton;
    PlacedControl saveButton;
    std::vector<ListField> fields;
    int editColumnWidth;
    int deleteColumnWidth;
    bool paintCurrentCell;
    std::vector<ListCheck> checks;

    int editColumn() const { return int(fields.size()); }
    int deleteColumn() const { return int(fields.size()) + 1; }
    int columnCount() const { return int(fields.size()) + 2; }
    QStringList headers() const;
    QList<int> columnWidths() const;
    int fieldIndex(const QString &name) const;
};

inline const QString AddCaption = QStringLiteral("增加");
inline const QString CommitCaption = QStringLiteral("保存修改");
inline const QString EditAction = QStringLiteral("编辑");
inline const QString DeleteAction = QStringLiteral("删除");
inline const QString MsgFillBasicFirst = QStringLiteral("请先填写基本信息");

const std::array<RecordListDef, ListCount> &recordListDefs();

// The first check that fails for these entry values (one per field, dates
// as "yyyy-MM-dd", a drop-down list's text or empty), or none.
std::optional<ListCheck> firstFailingCheck(const RecordListDef &def, const QStringList &values);

// The grid row for these entry values: the field texts and the two actions.
QStringList entryRow(const QStringList &values);

}  // namespace varnok
