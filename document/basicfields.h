// The first tab, "基本信息", as data: one row per field, saying what the field
// is (its control, its words on the form, its group, the element that keeps
// it, the kind of value, a drop-down list's dictionary type, how many of the
// type's items it offers and which one a cleared window selects). Where each
// control stands is the page's own business (pages/basicpage.cpp).
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace varnok {

enum class ValueKind { Text, Mask, Date, Code };

struct BasicField {
    QString control;  // objectName
    QString words;    // the form's caption, without the colon
    int group;        // index into basicGroupCaptions()
    QString element;  // under 初始注册/人员基本信息, or 最高学历 for the last group
    int written;      // place among the elements a save writes
    ValueKind kind;
    QString dictType;       // Code: the dictionary type
    int items = 0;          // Code: how many of the type's items the list offers
    QString initial;        // Code: the item a cleared window selects, if any
    int maskPositions = 0;  // Mask: positions

    bool education() const { return group == EducationGroup; }
    static constexpr int EducationGroup = 2;
};

inline const QString BasicTabCaption = QStringLiteral("基本信息");

// "基本信息", "其他信息", "学历信息".
const QStringList &basicGroupCaptions();

// As the form shows them, group by group.
const std::vector<BasicField> &basicFields();
// As a save writes them.
const std::vector<const BasicField *> &writtenBasicFields();
// The field of this control, or null.
const BasicField *basicField(const QString &control);
// The caption of a control of the first tab, empty when it has none.
QString basicWords(const QString &control);

}  // namespace varnok
