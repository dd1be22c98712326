#include "shortcuts.h"

#include "document/listdefs.h"
#include "widgets/commandlabel.h"

#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

namespace varnok {

QString tooltipWithKeys(const QString &command, const QKeySequence &keys)
{
    // Portable text: "Ctrl+Shift+S" on every system and in every language.
    return command + QStringLiteral(" (") + keys.toString(QKeySequence::PortableText) + u')';
}

namespace {

// The five 保存 buttons: the first tab's, then the lists'.
QList<QPushButton *> saveButtons(const QWidget &window)
{
    QList<QPushButton *> saves{window.findChild<QPushButton *>(QStringLiteral("Button6"))};
    for (const RecordListDef &def : recordListDefs())
        saves << window.findChild<QPushButton *>(def.saveButton);
    return saves;
}

QShortcut *windowShortcut(QWidget &window, const QKeySequence &keys)
{
    auto *shortcut = new QShortcut(keys, &window);
    shortcut->setContext(Qt::WindowShortcut);  // wherever the focus is in the window
    shortcut->setAutoRepeat(false);            // a key held down is one command
    return shortcut;
}

}  // namespace

QPushButton *frontSaveButton(const QWidget &window)
{
    const auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    const QWidget *front = tabs ? tabs->currentWidget() : nullptr;
    for (QPushButton *save : saveButtons(window))
        if (front && save && front->isAncestorOf(save))
            return save;
    return nullptr;
}

void installShortcuts(QWidget &window)
{
    const struct {
        const char *command;
        QKeySequence keys;
    } commands[] = {
        {"Label1", QKeySequence(Qt::CTRL | Qt::Key_N)},               // 新建
        {"Label12", QKeySequence(Qt::CTRL | Qt::Key_O)},              // 打开
        {"Label44", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},  // 另存为...
        {"Label46", QKeySequence(Qt::CTRL | Qt::Key_P)},              // 打印
        {"Label45", QKeySequence(Qt::Key_F1)},                        // 帮助
        {"Label47", QKeySequence(Qt::Key_F7)},                        // 检查
        {"Label31", QKeySequence(Qt::CTRL | Qt::Key_L)},              // 网上申报
        {"Label48", QKeySequence(Qt::CTRL | Qt::Key_B)},              // 批量检查...
    };
    for (const auto &c : commands) {
        auto *command = window.findChild<CommandLabel *>(QString::fromLatin1(c.command));
        QObject::connect(windowShortcut(window, c.keys), &QShortcut::activated, command, &CommandLabel::click);
        command->setToolTip(tooltipWithKeys(command->text(), c.keys));
    }

    const QKeySequence save(Qt::CTRL | Qt::Key_S);
    QObject::connect(windowShortcut(window, save), &QShortcut::activated, &window, [&window] {
        QPushButton *button = frontSaveButton(window);
        if (button && button->isEnabled())
            button->click();
    });
    for (QPushButton *button : saveButtons(window))
        button->setToolTip(tooltipWithKeys(button->text(), save));

    // Ctrl+Z puts back the entry removed last, while "撤销删除" shows; in an
    // entry field the field's own undo comes first.
    auto *undo = window.findChild<QPushButton *>(QStringLiteral("UndoRemove"));
    const QKeySequence undoKeys(Qt::CTRL | Qt::Key_Z);
    QObject::connect(windowShortcut(window, undoKeys), &QShortcut::activated, undo, [undo] {
        if (!undo->isHidden())
            undo->click();
    });
    undo->setToolTip(tooltipWithKeys(undo->text(), undoKeys));
}

}  // namespace varnok
