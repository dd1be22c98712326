// The four record lists as data: what each entry field is (its control, its
// words on the form, the element that keeps it, its grid heading, a drop-down
// list's dictionary type), the checks an entry must pass, and the names of the
// list's section and items in the document. Where the controls stand is the
// list tab's own business (lists/listplacement.cpp).
#pragma once

#include "document/basicfields.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace varnok {

enum ListId { WorkHistory, Achievements, ContinuingEducation, CreditRecord, ListCount };

enum class FieldKind { Edit, LabeledEdit, Date, Memo, Combo, Mask };

// One entry field; field i fills grid column i and element i of an item.
struct ListField {
    QString control;  // objectName
    FieldKind kind;
    QString caption;  // label text, with its colon
    QString element;
    QString header;    // grid heading of its column
    QString dictType;  // Combo: the dictionary type; its column holds texts, the document codes
    int items = 0;     // Combo: how many of the type's items it offers
    int maskPositions = 0;
};

struct ListCheck {
    enum Kind { Blank, NoSelection, DateOrder };
    Kind kind;
    QString field;     // the field tested; receives the focus
    QString endField;  // DateOrder: the end date
    QString message;
};

struct RecordListDef {
    ListId id;
    QString tabName;  // objectName of the tab page
    QString tabCaption;
    QString groupCaption;
    QString grid;  // objectNames
    QString addButton;
    QString saveButton;
    QString section;  // element under root
    QString item;     // element per entry
    std::vector<ListField> fields;
    std::vector<ListCheck> checks;

    int editColumn() const { return int(fields.size()); }
    int deleteColumn() const { return int(fields.size()) + 1; }
    int columnCount() const { return int(fields.size()) + 2; }
    // The fields' headings and those of the two action columns.
    QStringList headers() const;
    int fieldIndex(const QString &control) const;
};

inline const QString AddCaption = QStringLiteral("增加");
inline const QString CommitCaption = QStringLiteral("保存修改");
inline const QString EditAction = QStringLiteral("编辑");
inline const QString DeleteAction = QStringLiteral("删除");

const std::array<RecordListDef, ListCount> &recordListDefs();
inline const RecordListDef &recordListDef(ListId id) { return recordListDefs()[size_t(id)]; }

}  // namespace varnok
