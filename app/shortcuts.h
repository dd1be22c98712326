// Keyboard shortcuts of the main window: Ctrl+N 新建, Ctrl+O 打开, Ctrl+S the
// 保存 of the tab in front, Ctrl+Shift+S 另存为..., Ctrl+P 打印, F1 帮助, F7
// 检查, Ctrl+L 网上申报 (the address bar's key in a browser), Ctrl+B
// 批量检查.... Each
// does exactly what a click on its command does, and nothing while that
// command is disabled; each command's tooltip names its keys.
#pragma once

#include <QKeySequence>
#include <QString>

class QPushButton;
class QWidget;

namespace varnok {

// "新建 (Ctrl+N)"
QString tooltipWithKeys(const QString &command, const QKeySequence &keys);

// The 保存 of the tab in front of the main window: the first tab's or its
// list's.
QPushButton *frontSaveButton(const QWidget &window);

// Called once by the main window, with its commands and tabs in place.
void installShortcuts(QWidget &window);

}  // namespace varnok
