#!/usr/bin/python3
"""The running program as a Linux screen reader (Orca) sees it over AT-SPI:
prints the command buttons, the inputs with the captions that label them,
the grids with their headings, the disabled 保存, and, pressed through their
accessible actions, the report of 检查 and the message box of an empty 增加;
exits 1 when any of them is missing or wrong.

    atspi-tree.py               (on a session bus with the AT-SPI registry)
    atspi-tree.py --press NAME  (presses the first button NAME; returns once
                                 what it opened is closed)
"""
import subprocess
import sys
import time

import pyatspi

TITLE = "Varnok——Version 1.0"
COMMANDS = ["新建", "打开", "另存为...", "网上申报", "帮助", "打印", "检查", "批量检查...", "退出"]
GRIDS = {"工作简历": 6, "主要业绩": 7, "继续教育": 7, "信用档案": 7}
R = pyatspi
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("  FAILED:", what)


def nodes(root, depth=0):
    if root is not None and depth < 40:
        yield root
        for child in root:
            yield from nodes(child, depth + 1)


def window(title, role):
    """A window of the program (the splash has the main window's title but is no frame)."""
    for app in R.Registry.getDesktop(0):
        if app is not None and app.name == "varnok":
            return next((w for w in app if w is not None and w.name == title and w.getRole() == role), None)
    return None


def wait_for(find, what):
    end = time.time() + 60
    while time.time() < end:
        if (found := find()) is not None:
            return found
        time.sleep(0.3)
    sys.exit(f"not found: {what}")


def first(root, role, name=None):
    return next((n for n in nodes(root) if n.getRole() == role and name in (None, n.name)), None)


def actions(n):
    a = n.queryAction()
    return [a.getName(i).lower() for i in range(a.nActions)]


def press(n):
    n.queryAction().doAction(actions(n).index("press"))


def state(n, s):
    return n.getState().contains(s)


def labels(n):
    return [r.getTarget(i).name for r in n.getRelationSet() if r.getRelationType() == R.RELATION_LABELLED_BY
            for i in range(r.getNTargets())]


def pressed(name):
    """Pressed from another process: the press returns only when what it opened is closed."""
    return subprocess.Popen([sys.executable, __file__, "--press", name])


def main():
    frame = wait_for(lambda: window(TITLE, R.ROLE_FRAME), "the main window")
    if sys.argv[1:2] == ["--press"]:
        return press(first(frame, R.ROLE_PUSH_BUTTON, sys.argv[2]))
    print(f"{frame.getRoleName()} '{frame.name}'\ncommands:")
    for name in COMMANDS:
        b = first(frame, R.ROLE_PUSH_BUTTON, name)
        check(b is not None and "press" in actions(b) and state(b, R.STATE_FOCUSABLE), f"{name}: a button to press")
        if b is not None:
            print(f"  push button '{b.name}' description '{b.description}' actions {actions(b)}")
    print("inputs (name, labelled by):")
    inputs = [n for n in nodes(frame) if n.getRole() in (R.ROLE_TEXT, R.ROLE_SPIN_BUTTON, R.ROLE_COMBO_BOX)]
    for n in inputs:
        print(f"  {n.getRoleName()} '{n.name}' labelled by {labels(n)}")
        caption = (labels(n) or [""])[0]
        check(caption.endswith("：") and (n.getRole() == R.ROLE_COMBO_BOX or n.name == caption[:-1]),
              f"'{n.name}' named and labelled by its caption")
    check(len(inputs) == 38, f"38 inputs (found {len(inputs)})")
    print("grids:")
    for name, columns in GRIDS.items():
        t = first(frame, R.ROLE_TABLE, name)
        check(t is not None, f"grid {name}")
        if t is not None:
            table = t.queryTable()
            headings = [table.getColumnDescription(c) for c in range(table.nColumns)]
            headers = [table.getColumnHeader(c).name for c in range(table.nColumns)]
            print(f"  table '{t.name}' {table.nRows} row(s); headings {headings}; column headers {headers}")
            check(len(headings) == columns and headers == headings and headings[-2:] == ["修改", "删除"],
                  f"grid {name} gives its headings")
    save = first(frame, R.ROLE_PUSH_BUTTON, "保存")
    print(f"first tab's 保存: sensitive {state(save, R.STATE_SENSITIVE)}")
    check(not state(save, R.STATE_SENSITIVE), "a disabled 保存 is announced unavailable")

    print("检查, pressed:")
    presser = pressed("检查")
    report = wait_for(lambda: window("检查申报资料", R.ROLE_DIALOG), "the check report")
    lines = first(report, R.ROLE_TREE, "检查结果")
    check(lines is not None, "the report's list, named")
    if lines is not None:
        table = lines.queryTable()
        print(f"  {report.getRoleName()} '{report.name}': {lines.getRoleName()} '{lines.name}' "
              f"description '{lines.description}', {table.nRows} line(s)")
        for r in range(min(table.nRows, 3)):
            print("    " + " | ".join(table.getAccessibleAt(r, c).name for c in range(table.nColumns)))
    press(first(report, R.ROLE_PUSH_BUTTON, "关闭"))
    presser.wait(30)

    print("增加 of 工作简历 with nothing typed, pressed:")
    presser = pressed("增加")
    box = wait_for(lambda: window(TITLE, R.ROLE_ALERT), "the message box")
    texts = [n.name for n in nodes(box) if n.getRole() == R.ROLE_LABEL and n.name]
    print(f"  {box.getRoleName()} '{box.name}' description '{box.description}' labels {texts}")
    check("工作单位必须填写！" in texts, "the message box reads its message")
    press(first(box, R.ROLE_PUSH_BUTTON, "确定"))
    presser.wait(30)
    print("FAILED: " + "; ".join(failures) if failures else "all found")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
