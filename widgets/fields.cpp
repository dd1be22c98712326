#include "fields.h"

#include "dictionary/dictionary.h"
#include "document/values.h"
#include "rules/idnumber.h"
#include "xml/xmldocument.h"
#include "xml/xmltext.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

namespace varnok {

namespace {
constexpr QChar Blank = u'_';
}

MaskEdit::MaskEdit(int positions, QWidget *parent) : QLineEdit(parent), positions_(positions)
{
    setInputMask(QString(positions, QLatin1Char('0')) + QLatin1String(";_"));
}

QString MaskEdit::maskText() const
{
    QString text = displayText().leftJustified(positions_, Blank, true);
    text.replace(Blank, QLatin1Char(' '));
    return text;
}

void MaskEdit::setMaskText(const QString &text)
{
    QString positioned(positions_, Blank);
    for (int i = 0; i < positions_ && i < text.size(); ++i)
        if (text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            positioned[i] = text[i];
    setText(positioned);
}

void MaskEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    const QString shown = displayText();
    int typedEnd = 0;
    for (int i = 0; i < shown.size(); ++i)
        if (shown[i] != Blank)
            typedEnd = i + 1;
    if (!hasSelectedText() && cursorPosition() > typedEnd)
        setCursorPosition(typedEnd);
}

namespace {

// The line edit runs every change through its validator, which may rewrite
// the text: that is where unwanted characters go.
class SingleLineText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        const qsizetype first = firstNonXmlCharacter(input);
        if (first < 0)
            return Acceptable;
        if (pos > first)
            pos = int(first + withoutNonXmlCharacters(QStringView(input).mid(first, pos - first)).size());
        input = input.left(first) + withoutNonXmlCharacters(QStringView(input).mid(first));
        return Acceptable;
    }
};

// Every change of the memo's text, however it came (typing, pasting,
// dropping, an input method, the program), is looked at where it landed.
void dropNonXmlCharacters(QPlainTextEdit *memo)
{
    QObject::connect(memo->document(), &QTextDocument::contentsChange, memo, [memo](int from, int, int added) {
        if (added <= 0)
            return;
        QTextDocument *doc = memo->document();
        QTextCursor cursor(doc);
        cursor.setPosition(from);
        cursor.setPosition(qMin(from + added, doc->characterCount() - 1), QTextCursor::KeepAnchor);
        const QString landed = cursor.selectedText();
        // Line breaks come back as paragraph separators, which are kept.
        if (firstNonXmlCharacter(landed) < 0)
            return;
        cursor.insertText(withoutNonXmlCharacters(landed));
    });
}

}  // namespace

QLineEdit *makeLineEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setMaxLength(XmlDocument::MaxTextLength);
    edit->setValidator(new SingleLineText(edit));
    return edit;
}

QPlainTextEdit *makeMemo(QWidget *parent)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setTabChangesFocus(true);
    dropNonXmlCharacters(memo);
    return memo;
}

namespace {

// Tab leaves the field at once, as in any other field, instead of stepping
// through year, month and day.
class DatePicker : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

}  // namespace

QDateEdit *makeDatePicker(QWidget *parent)
{
    auto *picker = new DatePicker(parent);
    picker->setDisplayFormat(DateFormat);
    picker->setCalendarPopup(true);
    picker->setMinimumDate(EarliestDate);
    picker->setMaximumDate(QDate(9999, 12, 31));
    return picker;
}

void selectItemText(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void fillPickList(QComboBox *combo, const QString &dictType, int items, const QString &selected)
{
    for (int i = 1; i <= items; ++i)
        combo->addItem(DictItemText(dictType, i));
    selectItemText(combo, selected);
}

QString controlValue(const QWidget *control)
{
    if (auto *mask = qobject_cast<const MaskEdit *>(control))
        return mask->maskText();
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        return memo->toPlainText();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentIndex() < 0 ? QString() : combo->currentText();
    if (auto *date = qobject_cast<const QDateEdit *>(control))
        return formatDate(date->date());
    return {};
}

void setControlValue(QWidget *control, const QString &value)
{
    if (auto *mask = qobject_cast<MaskEdit *>(control))
        mask->setMaskText(value);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setText(value);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
        memo->setPlainText(value);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        selectItemText(combo, value);
    else if (auto *date = qobject_cast<QDateEdit *>(control))
        date->setDate(StrToDate(value));
}

}  // namespace varnok
