// A whole declaration made with the keyboard alone, as an applicant without
// a mouse makes it: Tab from field to field, the arrow keys in drop-down
// lists, dates and grids, Enter or Space on buttons, commands and the grids'
// action cells, Ctrl+S and Ctrl+Tab; the scripted dialogs answer as the
// person would.
#include "formfixture.h"

#include "declaration/declarationfile.h"

#include <QTemporaryDir>

using namespace varnok;

namespace {

QWidget *focused() { return QApplication::focusWidget(); }

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused(), Qt::Key(key), modifiers);
    QApplication::processEvents();  // the rule of a field left runs queued
}

// Typed into the field with the focus: Chinese as an input method commits
// it, one key event carrying each character.
void type(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(focused(), char(c.unicode()));
            continue;
        }
        QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(focused(), &down);
        QKeyEvent up(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(focused(), &up);
    }
}

bool inFocus(const FormFixture &f, const QString &name)
{
    return focused() && (focused() == f.get(name) || f.get(name)->isAncestorOf(focused()));
}

// Tab (or Shift+Tab) until the control has the focus; false when it never comes.
bool tabTo(const FormFixture &f, const QString &name, bool back = false)
{
    for (int i = 0; i < 100 && !inFocus(f, name); ++i)
        press(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    return inFocus(f, name);
}

// One field after another: typed text, "↓n" for n presses of Down (a
// drop-down list's next item, a date's year before), or "⇲" and text typed
// at the end (Ctrl+End) of what the field holds.
struct Step {
    const char *control;
    QString keys;
};

bool fill(const FormFixture &f, const QList<Step> &steps)
{
    for (const Step &step : steps) {
        if (!tabTo(f, step.control))
            return false;
        if (step.keys.startsWith(u'↓'))
            for (int n = step.keys.mid(1).toInt(); n > 0; --n)
                press(Qt::Key_Down);
        else if (step.keys.startsWith(u'⇲'))
            press(Qt::Key_End, Qt::ControlModifier);
        type(step.keys.startsWith(u'⇲') ? step.keys.mid(1) : step.keys.startsWith(u'↓') ? QString() : step.keys);
    }
    return true;
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void wholeDeclarationWithKeysOnly();
};

void TestKeyboard::wholeDeclarationWithKeysOnly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keys.xml");
    FormFixture f;
    f.showActive();
    QTRY_VERIFY(inFocus(f, "W_name"));  // where the applicant starts

    // 基本信息, in its keyboard order; 保存 (Ctrl+S) names the file.
    QVERIFY(fill(f, {{"W_name", "王堃"},
                     {"W_cer", "110105198503071234"},
                     {"W_nation", "↓1"},
                     {"W_tel", "13800000000"},
                     {"W_zyzw", "↓3"},
                     {"W_zgid", "ZG2012-0001"},
                     {"W_gznx", "9"},
                     {"W_school", "同济大学"},
                     {"W_xueli", "↓2"},
                     {"W_xuewei", "↓3"},
                     {"W_zhy", "土木工程"}}));
    QCOMPARE(f.value("W_birth"), QString("1985-03-07"));  // from the number, as the field was left
    f.prompts.files << path;
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.prompts.errors(), QStringList());
    QCOMPARE(f.form->currentDocumentPath(), path);

    // A list entry on each list tab, its 增加 pressed with Space; Ctrl+Tab
    // goes on to the next tab, Ctrl+S saves the list in front.
    const QList<std::pair<QList<Step>, const char *>> entries{
        {{{"W_wkpart", "甲公司"}, {"W_wktms", "↓1"}, {"W_wkmemo", "备注"}}, "Button15"},
        {{{"W_yjname", "桥梁设计"}, {"W_yjtms", "↓1"}, {"W_yjmemo1", "负责人"}, {"W_yjmemo2", "已完成"}}, "Button17"},
        {{{"W_jyjg", "培训中心"}, {"W_jylx", "↓1"}, {"W_jyxs", "12"}, {"W_jynr", "规范"}}, "Button9"},
        {{{"W_xymng", "建设局"}, {"W_xysn", "优秀"}, {"W_xymemo", "表彰"}, {"W_xycls", "↓1"}}, "Button1"},
    };
    for (int l = 0; l < ListCount; ++l) {
        if (f.tabs()->currentIndex() != l + 1)
            press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f.tabs()->currentIndex(), l + 1);
        QVERIFY(fill(f, entries[l].first));
        QVERIFY(tabTo(f, entries[l].second));
        press(Qt::Key_Space);
        QCOMPARE(f.list(ListId(l)).entryCount(), 1);
        if (l == WorkHistory) {
            // A second entry; then the first edited and the second removed,
            // with Enter and Space on their action cells.
            QVERIFY(fill(f, {{"W_wkpart", "乙公司"}, {"W_wktms", "↓2"}}));
            QVERIFY(tabTo(f, "Button15"));
            press(Qt::Key_Space);
            QVERIFY(tabTo(f, "W_wkgrid"));
            RecordGrid *grid = f.list(WorkHistory).grid();
            press(Qt::Key_Home, Qt::ControlModifier);  // the first entry's first cell
            for (int c = 0; c < 4; ++c)
                press(Qt::Key_Right);
            QCOMPARE(grid->currentCol(), 4);
            press(Qt::Key_Return);  // 编辑
            QCOMPARE(f.value("W_wkpart"), QString("甲公司"));
            QVERIFY(fill(f, {{"W_wkmemo", "⇲，已离职"}}));
            QVERIFY(tabTo(f, "Button15"));
            QCOMPARE(f.get<QPushButton>("Button15")->text(), QString("保存修改"));
            press(Qt::Key_Space);
            QVERIFY(tabTo(f, "W_wkgrid"));
            press(Qt::Key_Down);
            press(Qt::Key_Right);
            QCOMPARE(QPoint(grid->currentCol(), grid->currentRow()), QPoint(5, 2));
            press(Qt::Key_Space);  // 删除
            QCOMPARE(f.list(WorkHistory).rows().size(), 1);
            QCOMPARE(f.list(WorkHistory).rows()[0][0], QString("甲公司"));
            QCOMPARE(f.list(WorkHistory).rows()[0][3], QString("备注，已离职"));
        }
        press(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!f.list(ListId(l)).saveButton()->isEnabled());
    }
    QCOMPARE(f.prompts.errors(), QStringList());
    QVERIFY(!f.form->hasUnsavedChanges());
    const Declaration typed = f.form->held();
    QCOMPARE(DeclarationFile::read(path), typed);

    // 新建 empties the window; 打开, reached by Shift+Tab from 姓名 (Tab
    // would stop at the empty identity number) and pressed with Enter,
    // brings the declaration back.
    press(Qt::Key_N, Qt::ControlModifier);
    QVERIFY(f.form->held() != typed);
    QVERIFY(inFocus(f, "W_name"));
    QVERIFY(tabTo(f, "Label12", true));
    f.prompts.files << path;
    press(Qt::Key_Return);
    QCOMPARE(f.prompts.errors(), QStringList());
    QCOMPARE(f.form->held(), typed);
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
