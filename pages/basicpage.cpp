#include "basicpage.h"

#include "document/basicfields.h"
#include "rules/idnumber.h"
#include "widgets/fields.h"
#include "widgets/prompts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace varnok {

namespace {

// Where a control stands in its group: its caption's place (none: a labelled
// edit, whose caption sits on its left) and its place in the keyboard order.
struct Place {
    const char *control;
    QRect geometry;
    QPoint captionAt;
    int tabOrder;
};

constexpr QPoint LeftCaption{-1, -1};

const std::vector<Place> &places()
{
    static const std::vector<Place> table{
        {"W_name", QRect(112, 24, 145, 21), LeftCaption, 0}, {"W_id", QRect(112, 56, 145, 21), {26, 63}, 1},
        {"W_cer", QRect(112, 88, 145, 21), {46, 96}, 2},     {"W_birth", QRect(344, 24, 145, 21), {280, 32}, 3},
        {"W_sex", QRect(344, 56, 145, 21), {304, 64}, 4},    {"W_nation", QRect(344, 88, 145, 21), {304, 96}, 5},
        {"W_tel", QRect(616, 24, 145, 21), {512, 32}, 6},    {"Button6", QRect(808, 24, 75, 25), {}, 7},
        {"W_work", QRect(176, 24, 129, 21), {69, 32}, 8},    {"W_zyzw", QRect(176, 56, 129, 21), {45, 62}, 9},
        {"W_gznx", QRect(176, 88, 128, 21), {101, 96}, 14},  {"W_rzsj", QRect(176, 120, 129, 21), {101, 128}, 10},
        {"W_zgqd", QRect(481, 24, 129, 21), {381, 32}, 11},  {"W_qfrq", QRect(481, 56, 129, 21), {354, 66}, 12},
        {"W_zgid", QRect(481, 88, 129, 21), {382, 96}, 13},  {"W_school", QRect(176, 16, 433, 21), {104, 24}, 15},
        {"W_xueli", QRect(176, 48, 129, 21), {130, 56}, 16}, {"W_xuewei", QRect(176, 80, 129, 21), {130, 88}, 17},
        {"W_bysj", QRect(480, 48, 129, 21), {406, 56}, 18},  {"W_zhy", QRect(480, 80, 129, 21), {407, 88}, 19},
    };
    return table;
}

const Place &placeOf(const QString &control)
{
    const auto &table = places();
    return *std::find_if(table.begin(), table.end(),
                         [&](const Place &p) { return control == QLatin1String(p.control); });
}

// The group boxes, one per group of fields.
const QRect GroupGeometry[] = {QRect(16, 16, 897, 129), QRect(16, 160, 897, 161), QRect(16, 336, 897, 121)};
const char *const GroupNames[] = {"GroupBox1", "GroupBox2", "GroupBox3"};

QWidget *makeControl(const BasicField &field, QWidget *parent)
{
    switch (field.kind) {
    case ValueKind::Text:
        return makeLineEdit(parent);
    case ValueKind::Mask:
        return new MaskEdit(field.maskPositions, parent);
    case ValueKind::Date:
        return makeDatePicker(parent);
    case ValueKind::Code:
        return new QComboBox(parent);
    }
    return nullptr;
}

void addCaption(QWidget *control, const QString &words, QPoint at)
{
    auto *label = new QLabel(words + QStringLiteral("："), control->parentWidget());
    label->adjustSize();
    if (at == LeftCaption) {
        // A labelled edit carries its caption on its left, 3 pixels away.
        label->setObjectName(control->objectName() + QLatin1String("_label"));
        label->move(control->x() - 3 - label->width(), control->y() + (control->height() - label->height()) / 2);
        label->setBuddy(control);
    } else {
        label->move(at);
    }
}

}  // namespace

BasicPage::BasicPage(QWidget *tab, Prompts &prompts, QWidget *dialogParent)
    : prompts_(prompts), dialogParent_(dialogParent)
{
    QGroupBox *groups[3];
    for (int g = 0; g < 3; ++g) {
        groups[g] = new QGroupBox(basicGroupCaptions()[g], tab);
        groups[g]->setObjectName(QString::fromLatin1(GroupNames[g]));
        groups[g]->setGeometry(GroupGeometry[g]);
    }
    for (const BasicField &field : basicFields()) {
        const Place &place = placeOf(field.control);
        QWidget *control = makeControl(field, groups[field.group]);
        control->setObjectName(field.control);
        control->setGeometry(place.geometry);
        addCaption(control, field.words, place.captionAt);
        controls_.insert(field.control, control);
    }
    save_ = new QPushButton(QStringLiteral("保存"), groups[0]);
    save_->setObjectName(QStringLiteral("Button6"));
    save_->setGeometry(placeOf(save_->objectName()).geometry);
    controls_.insert(save_->objectName(), save_);

    name_ = qobject_cast<QLineEdit *>(control(QStringLiteral("W_name")));
    idType_ = qobject_cast<QComboBox *>(control(QStringLiteral("W_id")));
    idNumber_ = qobject_cast<QLineEdit *>(control(QStringLiteral("W_cer")));
    idHint_ = new QLabel(MsgIdCheckCharacter, groups[0]);
    idHint_->setObjectName(QStringLiteral("W_cerHint"));
    idHint_->setStyleSheet(QStringLiteral("color: #d00000;"));
    idHint_->adjustSize();
    idHint_->move(idNumber_->x(), idNumber_->y() + idNumber_->height() + 1);
    idHint_->hide();

    std::vector<const Place *> order;
    for (const Place &place : places())
        order.push_back(&place);
    std::sort(order.begin(), order.end(), [](auto *a, auto *b) { return a->tabOrder < b->tabOrder; });
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(control(QLatin1String(order[i - 1]->control)), control(QLatin1String(order[i]->control)));
}

QWidget *BasicPage::control(const QString &name) const { return controls_.value(name); }

void BasicPage::start(const QDate &today)
{
    auto *sex = qobject_cast<QComboBox *>(control(QStringLiteral("W_sex")));
    fillPickList(sex, basicField(sex->objectName())->dictType, basicField(sex->objectName())->items);
    sex->setEnabled(false);
    QWidget *birth = control(QStringLiteral("W_birth"));
    qobject_cast<QDateEdit *>(birth)->setDate(today);
    birth->setEnabled(false);
    for (const BasicField &field : basicFields()) {
        if (field.kind == ValueKind::Date)
            qobject_cast<QDateEdit *>(control(field.control))->setDate(today);
        if (field.kind == ValueKind::Code && field.control != sex->objectName())
            fillPickList(qobject_cast<QComboBox *>(control(field.control)), field.dictType, field.items, field.initial);
    }
}

void BasicPage::clear(const QDate &today)
{
    setValues(clearedBasicValues(today));
    control(QStringLiteral("W_birth"))->setEnabled(false);
    control(QStringLiteral("W_sex"))->setEnabled(false);
    updateIdHint();
}

FieldValues BasicPage::values() const
{
    FieldValues values;
    for (const BasicField &field : basicFields())
        values[field.control] = controlValue(control(field.control));
    return values;
}

void BasicPage::setValues(const FieldValues &values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (QWidget *target = control(it.key()))
            setControlValue(target, it.value());
}

bool BasicPage::isResidentIdCard() const
{
    return idType_->currentText() == ResidentIdCard && idType_->currentIndex() >= 0;
}

void BasicPage::applyIdType()
{
    const bool residentCard = idType_->currentText().trimmed() == ResidentIdCard;
    control(QStringLiteral("W_birth"))->setEnabled(!residentCard);
    control(QStringLiteral("W_sex"))->setEnabled(!residentCard);
    updateIdHint();
}

bool BasicPage::checkIdNumber()
{
    updateIdHint();  // a hint only: the rule below runs as it always has
    if (!isResidentIdCard())
        return true;
    const IdNumberResult result = parseIdNumber(idNumber_->text());
    if (result.outcome == IdNumberResult::WrongLength) {
        prompts_.message(dialogParent_, MsgIdLength);
        idNumber_->setFocus();
        return false;
    }
    selectItemText(qobject_cast<QComboBox *>(control(QStringLiteral("W_sex"))), result.sex);
    if (result.outcome == IdNumberResult::BadDate) {
        prompts_.message(dialogParent_, MsgIdDate);
        idNumber_->setFocus();
        idNumber_->selectAll();
        return false;
    }
    qobject_cast<QDateEdit *>(control(QStringLiteral("W_birth")))->setDate(result.birthDate);
    return true;
}

void BasicPage::updateIdHint()
{
    idHint_->setVisible(checkCharacterMismatch(controlValue(idType_), idNumber_->text()));
}

}  // namespace varnok
