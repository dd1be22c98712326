// The first tab, "基本信息": personal, qualification and highest-education
// fields in three groups.
#pragma once

#include "document/layout.h"

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace varnok {

class MaskEdit;

struct BasicPage {
    QGroupBox *GroupBox1 = nullptr;  // "基本信息"
    QGroupBox *GroupBox2 = nullptr;  // "其他信息"
    QGroupBox *GroupBox3 = nullptr;  // "学历信息"

    QLineEdit *W_name = nullptr;
    QComboBox *W_id = nullptr;
    QLineEdit *W_cer = nullptr;
    QLabel *W_cerHint = nullptr;  // red, shown while the check character is wrong
    QDateEdit *W_birth = nullptr;
    QComboBox *W_sex = nullptr;
    QComboBox *W_nation = nullptr;
    MaskEdit *W_tel = nullptr;
    QPushButton *Button6 = nullptr;

    QDateEdit *W_work = nullptr;
    QComboBox *W_zyzw = nullptr;
    MaskEdit *W_gznx = nullptr;
    QDateEdit *W_rzsj = nullptr;
    QComboBox *W_zgqd = nullptr;
    QDateEdit *W_qfrq = nullptr;
    QLineEdit *W_zgid = nullptr;

    QLineEdit *W_school = nullptr;
    QComboBox *W_xueli = nullptr;
    QComboBox *W_xuewei = nullptr;
    QDateEdit *W_bysj = nullptr;
    QLineEdit *W_zhy = nullptr;

    // Create every control on the tab page, with captions, geometry and
    // keyboard order. Lists are left empty; the window fills them.
    void build(QWidget *tab);

    QWidget *control(const QString &name) const;
    // All values of the page, keyed by control name.
    FieldValues values() const;
    // Set the values present; dates must already be valid.
    void setValues(const FieldValues &values) const;
    bool isResidentIdCard() const;
    // Show the hint below the number when a resident identity card's
    // 18-character number ends in the wrong check character, else hide it.
    void updateIdHint() const;
};

}  // namespace varnok
