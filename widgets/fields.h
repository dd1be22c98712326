// Entry controls shared by the first tab and the record lists, and reading or
// setting any of them as text.
#pragma once

#include <QDateEdit>
#include <QLineEdit>
#include <QString>

class QComboBox;
class QPlainTextEdit;

namespace varnok {

// A digits-only masked edit that keeps positions: its mask text has one
// character per position, a space for each empty one, and setting it puts
// every digit back at its own position (a plain masked QLineEdit shifts them).
class MaskEdit : public QLineEdit {
    Q_OBJECT
public:
    MaskEdit(int positions, QWidget *parent = nullptr);
    int positions() const { return positions_; }
    QString maskText() const;
    void setMaskText(const QString &text);

protected:
    // A click beyond the typed digits puts the cursor right after them, where
    // the next digit can go (past the last position nothing can be typed).
    void mousePressEvent(QMouseEvent *event) override;

private:
    int positions_;
};

// A single-line edit without a practical length limit (a plain QLineEdit
// cuts texts at 32767 characters). Characters a document cannot hold are
// dropped as they are typed, pasted or set.
QLineEdit *makeLineEdit(QWidget *parent);

// A multi-line memo that drops those characters as well.
QPlainTextEdit *makeMemo(QWidget *parent);

// Date only, "yyyy-MM-dd", with a drop-down calendar.
QDateEdit *makeDatePicker(QWidget *parent);

// Select the item whose text is exactly this, or none.
void selectItemText(QComboBox *combo, const QString &text);
// A pick-only list offering the first items of a dictionary type, with this
// item selected (none when empty).
void fillPickList(QComboBox *combo, const QString &dictType, int items, const QString &selected = {});

// The value of an entry control as the document and the checks see it: text
// as typed, mask text, the selected item's text (empty when none), a date as
// "yyyy-MM-dd".
QString controlValue(const QWidget *control);
// Set an entry control from such a value; a date that does not convert throws
// ConversionError and leaves the control as it was.
void setControlValue(QWidget *control, const QString &value);

}  // namespace varnok
