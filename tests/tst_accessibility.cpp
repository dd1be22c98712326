// The window as a screen reader finds it, through Qt's accessibility
// interfaces (what the Windows and the Linux bridges hand on): every input
// named by its caption, the grids by their list with their headings and
// cells, the commands as buttons that press, a disabled 保存 unavailable,
// message boxes and the check report readable.
#include "listsfixture.h"

#include "document/basicfields.h"
#include "widgets/checkdialog.h"
#include "widgets/commandlabel.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTreeWidget>

using namespace varnok;
using namespace lists;

namespace {

// Run body with the first modal window that opens, then close it.
template <typename Dialog>
void whileOpen(const std::function<void()> &open, const std::function<void(Dialog *)> &body)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            poll.stop();
            body(dialog);
            dialog->reject();
        }
    });
    poll.start();
    open();
}

// Closes whatever a command opens (the print preview).
struct ModalCloser {
    QTimer poll;
    ModalCloser()
    {
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        poll.start();
    }
};

QString captionWords(QString caption)
{
    if (caption.endsWith(u'：'))
        caption.chop(1);
    return caption;
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void screenReaderFindsIt_data();
    void screenReaderFindsIt();

private:
    QTemporaryDir workDir_;
    QString previousDir_;
};

void TestAccessibility::initTestCase()
{
    // "帮助" writes help.chm into the working folder.
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(workDir_.path());
}

void TestAccessibility::cleanupTestCase() { QDir::setCurrent(previousDir_); }

void TestAccessibility::screenReaderFindsIt_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");  // QAccessible::Role
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("list");  // grids: their list

    auto roleOf = [](ValueKind kind) {
        return kind == ValueKind::Code ? QAccessible::ComboBox
               : kind == ValueKind::Date ? QAccessible::SpinBox
                                         : QAccessible::EditableText;
    };
    for (const BasicField &field : basicFields())
        QTest::addRow("%s", qPrintable(field.control))
            << "input" << field.control << int(roleOf(field.kind)) << field.words << -1;
    for (const RecordListDef &def : recordListDefs()) {
        for (const ListField &field : def.fields) {
            const QAccessible::Role role = field.kind == FieldKind::Combo  ? QAccessible::ComboBox
                                           : field.kind == FieldKind::Date ? QAccessible::SpinBox
                                                                           : QAccessible::EditableText;
            QTest::addRow("%s", qPrintable(field.control))
                << "input" << field.control << int(role) << captionWords(field.caption) << -1;
        }
        QTest::addRow("%s", qPrintable(def.grid)) << "grid" << def.grid << int(QAccessible::Table) << def.tabCaption
                                                  << int(def.id);
    }
    const std::pair<const char *, const char *> commands[] = {
        {"Label1", "新建"},     {"Label12", "打开"}, {"Label44", "另存为..."}, {"Label31", "网上申报"},
        {"Label45", "帮助"},    {"Label46", "打印"}, {"Label47", "检查"},      {"Button2", "退出"},
    };
    for (const auto &[control, caption] : commands)
        QTest::addRow("%s %s", control, caption) << "command" << control << int(QAccessible::Button) << caption << -1;
    QTest::addRow("保存 disabled") << "disabled" << "Button6" << int(QAccessible::Button) << "保存" << -1;
    QTest::addRow("message box") << "message" << "" << int(QAccessible::AlertMessage) << AppTitle << -1;
    QTest::addRow("check report") << "report" << "CheckLines" << int(QAccessible::Tree) << "检查结果" << -1;
}

void TestAccessibility::screenReaderFindsIt()
{
    QFETCH(QString, kind);
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(int, list);
    FormFixture f;
    f.showActive();

    if (kind == "message" || kind == "report") {
        const QList<ReportLine> lines{{"基本信息", "姓名", "姓名必须填写！"}, {"工作简历", "工作简历", "至少填写一条"}};
        QAccessible::Role seenRole = QAccessible::NoRole;
        QString seenName, seenValue, seenCell;
        int seenRows = -1;
        if (kind == "message") {
            whileOpen<QMessageBox>([&] { desktopPrompts().message(f.form.get(), "工作单位必须填写！"); },
                                   [&](QMessageBox *box) {
                                       QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
                                       seenRole = iface->role();
                                       seenName = iface->text(QAccessible::Name);
                                       seenValue = iface->text(QAccessible::Value);
                                       seenCell = iface->text(QAccessible::Description);
                                   });
            QCOMPARE(seenValue, QString("工作单位必须填写！"));
            QCOMPARE(seenCell, seenValue);
        } else {
            whileOpen<CheckDialog>([&] { desktopPrompts().checkReport(f.form.get(), lines); },
                                   [&](CheckDialog *dialog) {
                                       QAccessibleInterface *iface =
                                           QAccessible::queryAccessibleInterface(dialog->lines());
                                       seenRole = iface->role();
                                       seenName = iface->text(QAccessible::Name);
                                       seenValue = iface->text(QAccessible::Description);
                                       seenRows = iface->tableInterface()->rowCount();
                                       seenCell = iface->tableInterface()->cellAt(1, 3)->text(QAccessible::Name);
                                   });
            QCOMPARE(seenValue, QString("发现 2 个问题，请逐项改正。双击一项即转到该页的该项。"));
            QCOMPARE(seenRows, 2);
            QCOMPARE(seenCell, QString("至少填写一条"));
        }
        QCOMPARE(int(seenRole), role);
        QCOMPARE(seenName, name);
        return;
    }

    QWidget *widget = f.get(control);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(int(iface->role()), role);
#ifndef Q_OS_WIN
    // Qt names a drop-down list by its choice here (by its name while it has
    // none), as Linux screen readers expect; they find its caption by the
    // relation below.
    if (role == QAccessible::ComboBox)
        QCOMPARE(iface->text(QAccessible::Name), controlValue(widget).isEmpty() ? name : controlValue(widget));
    else
#endif
        QCOMPARE(iface->text(QAccessible::Name), name);

    if (kind == "input") {
        // Labelled by the caption beside it, which reads the same, and by its group.
        QStringList labels;
        for (const auto &[label, relation] : iface->relations(QAccessible::Label))
            labels << label->text(QAccessible::Name);
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels[0], name + "：");
        QVERIFY(iface->state().focusable || !widget->isEnabled());
    } else if (kind == "grid") {
        const ListId id = ListId(list);
        QAccessibleTableInterface *table = iface->tableInterface();
        QVERIFY(table);
        const QStringList headings = recordListDef(id).headers();
        Lists lists{f};
        for (int fixed = 0; fixed < 2; ++fixed) {
            // Before the first entry the headings are row 0; then the header.
            QCOMPARE(table->columnCount(), headings.size());
            for (int c = 0; c < headings.size(); ++c) {
                QCOMPARE(table->columnDescription(c), headings[c]);
                const QList<QAccessibleInterface *> heads = table->cellAt(0, c)->tableCellInterface()->columnHeaderCells();
                QCOMPARE(heads.size(), 1);
                QCOMPARE(heads[0]->text(QAccessible::Name), headings[c]);
            }
            lists.add(id, sample(id, 1));
        }
        QCOMPARE(f.prompts.log.size(), 0);
        const QStringList entry = withActions(sample(id, 1));
        for (int c = 0; c < entry.size(); ++c)
            QCOMPARE(table->cellAt(1, c)->text(QAccessible::Name), entry[c]);
    } else if (kind == "command") {
        ModalCloser closer;
        QAccessibleActionInterface *actions = iface->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QVERIFY(iface->state().focusable);
        if (auto *label = qobject_cast<CommandLabel *>(widget)) {
            QVERIFY(iface->text(QAccessible::Description).startsWith(name + " ("));  // its keys
            QSignalSpy clicked(label, &CommandLabel::clicked);
            actions->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicked.count(), 1);
            label->setEnabled(false);
            QVERIFY(iface->state().disabled);
            QVERIFY(!iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }
    } else if (kind == "disabled") {
        QVERIFY(iface->state().disabled);
        f.set("W_name", "王堃");
        QVERIFY(!iface->state().disabled);
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
