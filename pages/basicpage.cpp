#include "basicpage.h"

#include "rules/basicwords.h"
#include "widgets/fields.h"
#include "rules/idnumber.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace varnok {

namespace {

QGroupBox *group(QWidget *tab, const char *name, int index, QRect geometry)
{
    auto *box = new QGroupBox(basicGroups()[size_t(index)].caption, tab);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

template <typename Control>
Control *place(Control *control, const char *name, QRect geometry)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// A control's caption, in the form's words, at its place.
void caption(QWidget *parent, const char *control, QPoint at)
{
    auto *label = new QLabel(basicWords(QString::fromLatin1(control)) + QStringLiteral("："), parent);
    label->adjustSize();
    label->move(at);
}

// A labelled edit carries its caption on its left, 3 pixels away.
void leftCaption(QWidget *control)
{
    auto *label = new QLabel(basicWords(control->objectName()) + QStringLiteral("："), control->parentWidget());
    label->setObjectName(control->objectName() + QLatin1String("_label"));
    label->adjustSize();
    label->move(control->x() - 3 - label->width(), control->y() + (control->height() - label->height()) / 2);
    label->setBuddy(control);
}

QComboBox *pickList(QWidget *parent, const char *name, QRect geometry)
{
    return place(new QComboBox(parent), name, geometry);
}

}  // namespace

void BasicPage::build(QWidget *tab)
{
    GroupBox1 = group(tab, "GroupBox1", 0, QRect(16, 16, 897, 129));
    QWidget *g = GroupBox1;
    W_name = place(makeLineEdit(g), "W_name", QRect(112, 24, 145, 21));
    leftCaption(W_name);
    W_id = pickList(g, "W_id", QRect(112, 56, 145, 21));
    caption(g, "W_id", {26, 63});
    W_cer = place(makeLineEdit(g), "W_cer", QRect(112, 88, 145, 21));
    caption(g, "W_cer", {46, 96});
    W_cerHint = new QLabel(MsgIdCheckCharacter, g);
    W_cerHint->setObjectName(QStringLiteral("W_cerHint"));
    W_cerHint->setStyleSheet(QStringLiteral("color: #d00000;"));
    W_cerHint->adjustSize();
    W_cerHint->move(W_cer->x(), W_cer->y() + W_cer->height() + 1);
    W_cerHint->hide();
    W_birth = place(makeDatePicker(g), "W_birth", QRect(344, 24, 145, 21));
    caption(g, "W_birth", {280, 32});
    W_sex = pickList(g, "W_sex", QRect(344, 56, 145, 21));
    caption(g, "W_sex", {304, 64});
    W_nation = pickList(g, "W_nation", QRect(344, 88, 145, 21));
    caption(g, "W_nation", {304, 96});
    W_tel = place(new MaskEdit(11, g), "W_tel", QRect(616, 24, 145, 21));
    caption(g, "W_tel", {512, 32});
    Button6 = place(new QPushButton(QStringLiteral("保存"), g), "Button6", QRect(808, 24, 75, 25));

    GroupBox2 = group(tab, "GroupBox2", 1, QRect(16, 160, 897, 161));
    g = GroupBox2;
    W_work = place(makeDatePicker(g), "W_work", QRect(176, 24, 129, 21));
    caption(g, "W_work", {69, 32});
    W_zyzw = pickList(g, "W_zyzw", QRect(176, 56, 129, 21));
    caption(g, "W_zyzw", {45, 62});
    W_gznx = place(new MaskEdit(2, g), "W_gznx", QRect(176, 88, 128, 21));
    caption(g, "W_gznx", {101, 96});
    W_rzsj = place(makeDatePicker(g), "W_rzsj", QRect(176, 120, 129, 21));
    caption(g, "W_rzsj", {101, 128});
    W_zgqd = pickList(g, "W_zgqd", QRect(481, 24, 129, 21));
    caption(g, "W_zgqd", {381, 32});
    W_qfrq = place(makeDatePicker(g), "W_qfrq", QRect(481, 56, 129, 21));
    caption(g, "W_qfrq", {354, 66});
    W_zgid = place(makeLineEdit(g), "W_zgid", QRect(481, 88, 129, 21));
    caption(g, "W_zgid", {382, 96});

    GroupBox3 = group(tab, "GroupBox3", 2, QRect(16, 336, 897, 121));
    g = GroupBox3;
    W_school = place(makeLineEdit(g), "W_school", QRect(176, 16, 433, 21));
    caption(g, "W_school", {104, 24});
    W_xueli = pickList(g, "W_xueli", QRect(176, 48, 129, 21));
    caption(g, "W_xueli", {130, 56});
    W_xuewei = pickList(g, "W_xuewei", QRect(176, 80, 129, 21));
    caption(g, "W_xuewei", {130, 88});
    W_bysj = place(makeDatePicker(g), "W_bysj", QRect(480, 48, 129, 21));
    caption(g, "W_bysj", {406, 56});
    W_zhy = place(makeLineEdit(g), "W_zhy", QRect(480, 80, 129, 21));
    caption(g, "W_zhy", {407, 88});

    const QList<QWidget *> order{W_name, W_id,   W_cer,  W_birth,  W_sex,  W_nation, W_tel,
                                 Button6, W_work, W_zyzw, W_rzsj,   W_zgqd, W_qfrq,   W_zgid,
                                 W_gznx,  W_school, W_xueli, W_xuewei, W_bysj, W_zhy};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QWidget *BasicPage::control(const QString &name) const
{
    return GroupBox1->parentWidget()->findChild<QWidget *>(name);
}

FieldValues BasicPage::values() const
{
    FieldValues values;
    for (const BasicField &field : basicFields())
        values[field.control] = controlValue(control(field.control));
    return values;
}

void BasicPage::setValues(const FieldValues &values) const
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (QWidget *target = control(it.key()))
            setControlValue(target, it.value());
}

bool BasicPage::isResidentIdCard() const { return W_id->currentText() == ResidentIdCard && W_id->currentIndex() >= 0; }

void BasicPage::updateIdHint() const
{
    W_cerHint->setVisible(checkCharacterMismatch(controlValue(W_id), W_cer->text()));
}

}  // namespace varnok
