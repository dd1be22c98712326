// The window as a screen reader finds it through Qt's accessibility
// interfaces, which the Windows and Linux bridges hand on: every input named
// and labelled by its caption, the grids by their list with headings and
// cells, the commands as buttons that press, a disabled 保存 unavailable,
// a message box and the check report readable.
#include "listsfixture.h"

#include "document/basicfields.h"
#include "widgets/checkdialog.h"
#include "widgets/commandlabel.h"

#include <QAccessible>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTreeWidget>

using namespace varnok;
using namespace lists;

namespace {

// Closes every dialog a command opens (the print preview), handing it first
// to look at.
struct DialogCloser {
    QTimer poll;
    explicit DialogCloser(std::function<void(QDialog *)> look = {})
    {
        QObject::connect(&poll, &QTimer::timeout, [look] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                if (look)
                    look(dialog);
                dialog->reject();
            }
        });
        poll.start(10);
    }
};

QString text(QAccessibleInterface *i, QAccessible::Text t = QAccessible::Name) { return i ? i->text(t) : "none"; }

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QDir::setCurrent(dir_.path()); }  // "帮助" writes help.chm here
    void screenReaderFindsIt_data();
    void screenReaderFindsIt();

private:
    QTemporaryDir dir_;
};

void TestAccessibility::screenReaderFindsIt_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");  // QAccessible::Role
    QTest::addColumn<QString>("name");
    const auto input = [](const QString &control, bool combo, bool date, QString caption) {
        caption.remove(u'：');
        QTest::newRow(qPrintable(control)) << control
                                           << int(combo  ? QAccessible::ComboBox
                                                  : date ? QAccessible::SpinBox
                                                         : QAccessible::EditableText)
                                           << caption;
    };
    for (const BasicField &f : basicFields())
        input(f.control, f.kind == ValueKind::Code, f.kind == ValueKind::Date, f.words);
    for (const RecordListDef &def : recordListDefs()) {
        for (const ListField &f : def.fields)
            input(f.control, f.kind == FieldKind::Combo, f.kind == FieldKind::Date, f.caption);
        QTest::newRow(qPrintable(def.grid)) << def.grid << int(QAccessible::Table) << def.tabCaption;
    }
    for (const char *c : {"Label1 新建", "Label12 打开", "Label44 另存为...", "Label31 网上申报", "Label45 帮助",
                          "Label46 打印", "Label47 检查", "Button2 退出", "Button6 保存"}) {
        const QStringList parts = QString(c).split(' ');
        QTest::newRow(c) << parts[0] << int(QAccessible::Button) << parts[1];
    }
    QTest::newRow("message box") << "" << int(QAccessible::AlertMessage) << AppTitle;
    QTest::newRow("check report") << "CheckLines" << int(QAccessible::Tree) << "检查结果";
}

void TestAccessibility::screenReaderFindsIt()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    FormFixture f;
    f.showActive();
    QStringList seen;  // role, name and what a reader reads of a dialog
    if (role == QAccessible::AlertMessage || role == QAccessible::Tree) {
        DialogCloser closer([&](QDialog *dialog) {
            QWidget *shown = role == QAccessible::Tree ? dialog->findChild<QWidget *>(control) : dialog;
            QAccessibleInterface *i = QAccessible::queryAccessibleInterface(shown);
            seen << QString::number(i->role()) << text(i) << text(i, QAccessible::Description)
                 << (i->tableInterface() ? text(i->tableInterface()->cellAt(1, 3)) : text(i, QAccessible::Value));
        });
        if (role == QAccessible::AlertMessage)
            desktopPrompts().message(f.form.get(), "工作单位必须填写！");
        else
            desktopPrompts().checkReport(f.form.get(),
                                         {{"基本信息", "姓名", "姓名必须填写！"}, {"工作简历", "", "至少一条"}});
        QCOMPARE(seen, (role == QAccessible::AlertMessage
                            ? QStringList{QString::number(role), name, "工作单位必须填写！", "工作单位必须填写！"}
                            : QStringList{QString::number(role), name,
                                          "发现 2 个问题，请逐项改正。双击一项即转到该页的该项。", "至少一条"}));
        return;
    }

    QWidget *widget = f.get(control);
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(widget);
    QCOMPARE(int(i->role()), role);
#ifndef Q_OS_WIN
    // Here Qt names a drop-down list by its choice, as Linux screen readers
    // expect; they take the caption from the label relation below.
    if (role == QAccessible::ComboBox && !controlValue(widget).isEmpty())
        QCOMPARE(text(i), controlValue(widget));
    else
#endif
        QCOMPARE(text(i), name);
    if (QAccessibleTableInterface *table = i->tableInterface()) {
        const ListId id = std::find_if(recordListDefs().begin(), recordListDefs().end(), [&](const RecordListDef &d) {
                              return d.grid == control;
                          })->id;
        const QStringList headings = recordListDef(id).headers();
        for (int entries = 0; entries < 2; ++entries) {  // row 0 the headings, then the header
            QCOMPARE(table->columnCount(), headings.size());
            for (int c = 0; c < headings.size(); ++c) {
                QCOMPARE(table->columnDescription(c), headings[c]);
                QCOMPARE(text(table->cellAt(0, c)->tableCellInterface()->columnHeaderCells().value(0)), headings[c]);
            }
            Lists{f}.add(id, sample(id, 1));
        }
        const QStringList entry = withActions(sample(id, 1));
        for (int c = 0; c < entry.size(); ++c)
            QCOMPARE(text(table->cellAt(1, c)), entry[c]);
    } else if (role == QAccessible::Button) {
        QVERIFY(i->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()) ||
                !widget->isEnabled());
        QVERIFY(i->state().focusable);
        QCOMPARE(i->state().disabled, control == "Button6");  // nothing typed yet
        if (auto *label = qobject_cast<CommandLabel *>(widget)) {
            QCOMPARE(text(i, QAccessible::Description), label->toolTip());  // the command with its keys
            DialogCloser closer;
            QSignalSpy clicked(label, &CommandLabel::clicked);
            i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicked.count(), 1);
        }
    } else {
        QStringList labels;  // the caption, then the group
        for (const auto &[label, relation] : i->relations(QAccessible::Label))
            labels << text(label);
        QCOMPARE(labels.value(0), name + "：");
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
