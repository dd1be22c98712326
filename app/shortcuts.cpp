#include "shortcuts.h"

#include "widgets/commandlabel.h"
#include "app/mainwindow.h"

#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

namespace varnok {

QString tooltipWithKeys(const QString &command, const QKeySequence &keys)
{
    // Portable text: "Ctrl+Shift+S" on every system and in every language.
    return command + QStringLiteral(" (") + keys.toString(QKeySequence::PortableText) + u')';
}

QPushButton *frontSaveButton(const TForm1 &form)
{
    const QWidget *front = form.PageControl1->currentWidget();
    QList<QPushButton *> saves{form.page.Button6};
    for (int l = 0; l < ListCount; ++l)
        saves << form.list(ListId(l)).saveButton();
    for (QPushButton *save : saves)
        if (front && front->isAncestorOf(save))
            return save;
    return nullptr;
}

namespace {

QShortcut *windowShortcut(TForm1 &form, const QKeySequence &keys)
{
    auto *shortcut = new QShortcut(keys, &form);
    shortcut->setContext(Qt::WindowShortcut);  // wherever the focus is in the window
    shortcut->setAutoRepeat(false);             // a key held down is one command
    return shortcut;
}

}  // namespace

void installShortcuts(TForm1 &form)
{
    const struct {
        CommandLabel *command;
        QKeySequence keys;
    } commands[] = {
        {form.Label1, QKeySequence(Qt::CTRL | Qt::Key_N)},             // 新建
        {form.Label12, QKeySequence(Qt::CTRL | Qt::Key_O)},            // 打开
        {form.Label44, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},  // 另存为...
        {form.Label46, QKeySequence(Qt::CTRL | Qt::Key_P)},            // 打印
        {form.Label45, QKeySequence(Qt::Key_F1)},                      // 帮助
    };
    for (const auto &c : commands) {
        QObject::connect(windowShortcut(form, c.keys), &QShortcut::activated, c.command, &CommandLabel::click);
        c.command->setToolTip(tooltipWithKeys(c.command->text(), c.keys));
    }

    const QKeySequence save(Qt::CTRL | Qt::Key_S);
    QObject::connect(windowShortcut(form, save), &QShortcut::activated, &form, [&form] {
        QPushButton *button = frontSaveButton(form);
        if (button && button->isEnabled())
            button->click();
    });
    form.page.Button6->setToolTip(tooltipWithKeys(form.page.Button6->text(), save));
    for (int l = 0; l < ListCount; ++l) {
        QPushButton *button = form.list(ListId(l)).saveButton();
        button->setToolTip(tooltipWithKeys(button->text(), save));
    }
}

}  // namespace varnok
