// The first tab, "基本信息": the applicant's personal, qualification and
// highest-education fields in three groups, built from the table of fields
// (document/basicfields.h) and the page's own table of where each stands. The
// page fills its drop-down lists, clears itself, and runs the identity
// document rules.
#pragma once

#include "document/layout.h"

#include <QDate>
#include <QMap>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace varnok {

class Prompts;

class BasicPage {
public:
    // Every control on the tab page, with captions, geometry and keyboard
    // order; the drop-down lists are empty until start().
    BasicPage(QWidget *tab, Prompts &prompts, QWidget *dialogParent);

    // Any control of the page by objectName, null when there is none.
    QWidget *control(const QString &name) const;
    QLineEdit *nameField() const { return name_; }
    QComboBox *idType() const { return idType_; }
    QLineEdit *idNumber() const { return idNumber_; }
    QPushButton *saveButton() const { return save_; }

    // As the window is created: the lists filled from the dictionary with
    // their first choices selected, the dates today, birth date and sex
    // disabled (a resident identity card gives them).
    void start(const QDate &today);
    // Back to the values of a cleared page, with the same rules.
    void clear(const QDate &today);

    // All values of the page, keyed by control name.
    FieldValues values() const;
    // Set the values present; dates must already be valid. Runs no rule.
    void setValues(const FieldValues &values);

    bool isResidentIdCard() const;
    // The identity type was chosen: birth date and sex are typed for any
    // document but a resident identity card.
    void applyIdType();
    // The number field was left: a resident identity card's number gives sex
    // and birth date, or a message and the cursor back in the field (false).
    bool checkIdNumber();
    // Show the hint below the number while a resident identity card's
    // 18-character number ends in the wrong check character.
    void updateIdHint();

private:
    Prompts &prompts_;
    QWidget *dialogParent_;
    QMap<QString, QWidget *> controls_;
    QLineEdit *name_ = nullptr;
    QComboBox *idType_ = nullptr;
    QLineEdit *idNumber_ = nullptr;
    QLabel *idHint_ = nullptr;
    QPushButton *save_ = nullptr;
};

}  // namespace varnok
