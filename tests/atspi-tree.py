#!/usr/bin/python3
"""The running program as a Linux screen reader (Orca) sees it over AT-SPI.

Prints the command buttons, the inputs with the captions that label them,
the grids with their headings, the disabled 保存, and, pressed through
their accessible actions, the check report of 检查 and the message box of
an empty 增加; exits 1 when any of that is missing or wrong.

    atspi-tree.py                 (needs a session bus with the AT-SPI registry)
    atspi-tree.py --press NAME    (press the first button NAME; returns when
                                   what it opened is closed)
"""

import sys
import time

import pyatspi

APP = "varnok"
TITLE = "Varnok——Version 1.0"
COMMANDS = ["新建", "打开", "另存为...", "网上申报", "帮助", "打印", "检查", "退出"]
GRIDS = {
    "工作简历": ["工作单位", "起始时间", "结束时间", "备注", "修改", "删除"],
    "主要业绩": ["项目名称", "起始时间", "结束时间", "本人作用", "完成情况及效果", "修改", "删除"],
    "继续教育": ["培训机构", "课程类型", "培训日期", "学时", "培训内容", "修改", "删除"],
    "信用档案": ["奖惩时间", "奖惩部门单位", "奖励或处罚", "奖惩原因", "奖惩结果", "修改", "删除"],
}
INPUT_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("  FAILED:", what)


def wait_for(find, what, seconds=60):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.3)
    print("not found:", what)
    sys.exit(1)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APP:
            return app
    return None


def nodes(root, depth=0):
    if root is None or depth > 40:
        return
    yield root
    for child in root:
        yield from nodes(child, depth + 1)


def window(title, role=pyatspi.ROLE_FRAME):
    """A window of the program with this title (the splash has the main
    window's title too, but is no frame)."""
    app = application()
    if app is None:
        return None
    for w in app:
        if w is not None and w.name == title and w.getRole() == role:
            return w
    return None


def first(root, role, name=None):
    for n in nodes(root):
        if n.getRole() == role and (name is None or n.name == name):
            return n
    return None


def actions(node):
    try:
        a = node.queryAction()
    except NotImplementedError:
        return []
    return [a.getName(i) for i in range(a.nActions)]


def press(node):
    a = node.queryAction()
    names = [a.getName(i).lower() for i in range(a.nActions)]
    a.doAction(names.index("press"))


def states(node):
    s = node.getState()
    return [name for name, state in (("focusable", pyatspi.STATE_FOCUSABLE),
                                     ("sensitive", pyatspi.STATE_SENSITIVE),
                                     ("showing", pyatspi.STATE_SHOWING)) if s.contains(state)]


def labelled_by(node):
    out = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            out += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return out


def pressed_elsewhere(name):
    """Press in another process: the call returns only when what it opens
    is closed again."""
    import subprocess
    return subprocess.Popen([sys.executable, __file__, "--press", name])


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--press":
        frame = wait_for(lambda: window(TITLE), TITLE)
        press(first(frame, pyatspi.ROLE_PUSH_BUTTON, sys.argv[2]))
        return 0

    frame = wait_for(lambda: window(TITLE), "the main window " + TITLE)
    print(f"{frame.getRoleName()} '{frame.name}'")

    print("commands:")
    buttons = {}
    for n in nodes(frame):
        if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name in COMMANDS and n.name not in buttons:
            buttons[n.name] = n
            print(f"  push button '{n.name}' description '{n.description}' actions {actions(n)} {states(n)}")
    for name in COMMANDS:
        check(name in buttons, f"command {name} is a push button")
        if name in buttons:
            check("press" in [a.lower() for a in actions(buttons[name])], f"{name} can be pressed")
            check("focusable" in states(buttons[name]), f"{name} takes the keyboard focus")

    print("inputs (name, labelled by):")
    inputs = [n for n in nodes(frame) if n.getRole() in INPUT_ROLES]
    for n in inputs:
        labels = labelled_by(n)
        print(f"  {n.getRoleName()} '{n.name}' labelled by {labels}")
        check(labels and labels[0].endswith("："), f"{n.getRoleName()} '{n.name}' has its caption")
        if n.getRole() != pyatspi.ROLE_COMBO_BOX and labels:
            check(n.name == labels[0][:-1], f"'{n.name}' is named as its caption '{labels[0]}' reads")
    check(len(inputs) == 38, f"38 inputs (found {len(inputs)})")

    print("grids:")
    for n in nodes(frame):
        if n.getRole() != pyatspi.ROLE_TABLE:
            continue
        table = n.queryTable()
        headings = [table.getColumnDescription(c) for c in range(table.nColumns)]
        headers = [table.getColumnHeader(c).name if table.getColumnHeader(c) else "" for c in range(table.nColumns)]
        row0 = [table.getAccessibleAt(0, c).name for c in range(table.nColumns)]
        print(f"  table '{n.name}' {table.nRows} row(s) x {table.nColumns} columns; headings {headings}; "
              f"column headers {headers}; row 0 {row0}")
        check(GRIDS.get(n.name) == headings, f"grid '{n.name}' has its headings")
        check(headers == headings, f"grid '{n.name}' names its column headers")
    check({n.name for n in nodes(frame) if n.getRole() == pyatspi.ROLE_TABLE} == set(GRIDS), "the four grids")

    save = first(frame, pyatspi.ROLE_PUSH_BUTTON, "保存")
    print(f"first tab's 保存: {states(save)}")
    check("sensitive" not in states(save), "a disabled 保存 is announced unavailable")

    print("检查, pressed:")
    presser = pressed_elsewhere("检查")
    report = wait_for(lambda: window("检查申报资料", pyatspi.ROLE_DIALOG), "the check report")
    print(f"  {report.getRoleName()} '{report.name}'")
    lines = first(report, pyatspi.ROLE_TREE)
    check(lines is not None and lines.name == "检查结果", "the report's list is named")
    if lines is not None:
        table = lines.queryTable()
        print(f"  {lines.getRoleName()} '{lines.name}' description '{lines.description}', {table.nRows} line(s)")
        for r in range(min(table.nRows, 3)):
            print("    " + " | ".join(table.getAccessibleAt(r, c).name for c in range(table.nColumns)))
        check(table.nRows > 0 and table.getAccessibleAt(0, 3).name != "", "the report's lines are readable")
    press(first(report, pyatspi.ROLE_PUSH_BUTTON, "关闭"))
    presser.wait(30)

    print("增加 of 工作简历 with nothing typed, pressed:")
    presser = pressed_elsewhere("增加")
    box = wait_for(lambda: first(application(), pyatspi.ROLE_ALERT), "the message box")
    texts = [n.name for n in nodes(box) if n.getRole() == pyatspi.ROLE_LABEL and n.name]
    print(f"  {box.getRoleName()} '{box.name}' description '{box.description}' labels {texts}")
    check("工作单位必须填写！" in texts, "the message box reads its message")
    press(first(box, pyatspi.ROLE_PUSH_BUTTON, "确定"))
    presser.wait(30)

    print("FAILED: " + "; ".join(failures) if failures else "all found")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
