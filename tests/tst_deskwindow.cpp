// "批量检查...": the desk's window from the command bar, a folder checked,
// a row's file opened in the main window (asking first, as "打开" asks) and
// found by "检查" as the row says, the table exported as CSV and Excel and
// printed.
#include "deskdeclarations.h"
#include "formfixture.h"
#include "testfiles.h"

#include "app/deskwindow.h"
#include "desk/deskexport.h"
#include "report/printpreview.h"
#include "widgets/commandlabel.h"

#include <QLabel>
#include <QPrintPreviewWidget>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace varnok;

class TestDeskWindow : public QObject {
    Q_OBJECT
private slots:
    void checkOpenExportPrint();
};

void TestDeskWindow::checkOpenExportPrint()
{
    QTemporaryDir staff, exports;
    desk::writeDeclaration(staff.filePath("a.xml"));
    desk::writeDeclaration(staff.filePath("科室/b.xml"), {{"W_name", "陈晓梅"}, {"W_zgid", ""}});
    QFile::copy(staff.filePath("a.xml"), staff.filePath("c.xml"));

    FormFixture f;
    f.showActive();
    auto *command = f.get<CommandLabel>("Label48");
    QCOMPARE(command->text(), QString("批量检查..."));
    QCOMPARE(command->toolTip(), QString("批量检查... (Ctrl+B)"));
    QCOMPARE(command->y(), f.get("Label47")->y());
    QVERIFY(command->x() > f.get("Label47")->geometry().right());
    QVERIFY(command->geometry().right() < f.get("Button2")->x());
    QTest::mouseClick(command, Qt::LeftButton);
    auto *desk = f.form->findChild<DeskWindow *>("DeskWindow");
    QVERIFY(desk && desk->isVisible());

    f.prompts.files << QDir::toNativeSeparators(staff.path());
    QTest::mouseClick(desk->findChild<QPushButton *>("DeskFolder"), Qt::LeftButton);
    auto *table = desk->findChild<QTableWidget *>("DeskTable");
    QCOMPARE(table->rowCount(), 3);
    QStringList shown;
    for (int r = 0; r < table->rowCount(); ++r)
        shown << table->item(r, 0)->text() + " " + table->item(r, 1)->text() + " " + table->item(r, 9)->text();
    const QString b = QDir::toNativeSeparators("科室/b.xml");
    QCOMPARE(shown, (QStringList{"a.xml 林志远 1", "c.xml 林志远 1", b + " 陈晓梅 2"}));
    QCOMPARE(table->item(2, 10)->text(),
             "基本信息·资格证书编号：资格证书编号为必填项！\n基本信息·证件号码：证件号码与 a.xml、c.xml 重复");
    QCOMPARE(desk->findChild<QLabel *>("DeskSummary")->text(), "共 3 个文件：通过 0 个，有问题 3 个，无法读取 0 个。");
    QVERIFY(desk->findChild<QPushButton *>("DeskCancel")->isEnabled() == false);

    // A double-click opens the row's file; with unsaved changes it asks first.
    f.set("W_name", "未保存");
    auto doubleClick = [&](int row) {
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    };
    doubleClick(2);
    QCOMPARE(f.prompts.questions(), QStringList{"填写的文件还没有保存！确认要打开其他文件吗?"});
    QCOMPARE(f.value("W_name"), QString("未保存"));
    f.prompts.clear();
    f.prompts.answers << true;
    doubleClick(2);
    QCOMPARE(f.value("W_name"), QString("陈晓梅"));
    QCOMPARE(f.form->currentDocumentPath(), QDir::toNativeSeparators(staff.filePath("科室/b.xml")));
    // "检查" of the file opened says what its row says, but for the other files.
    f.prompts.clear();
    f.form->Label47Click();
    QCOMPARE(f.prompts.reports.size(), 1);
    const ReportLine line = f.prompts.reports[0].value(0);
    QCOMPARE(f.prompts.reports[0].size(), 1);
    QCOMPARE(line.tab + "·" + line.field + "：" + line.problem, desk->rows()[2].problemLines().value(0));

    // The exports hold the table; neither goes next to the declarations.
    f.prompts.clear();
    const QString csv = exports.filePath("表.csv"), xlsx = exports.filePath("表.xlsx");
    f.prompts.files << csv << xlsx;
    QTest::mouseClick(desk->findChild<QPushButton *>("DeskCsv"), Qt::LeftButton);
    QTest::mouseClick(desk->findChild<QPushButton *>("DeskExcel"), Qt::LeftButton);
    QCOMPARE(f.prompts.errors(), QStringList());
    QCOMPARE(f.prompts.messages(), (QStringList{"CSV文件已保存：" + csv, "Excel文件已保存：" + xlsx}));
    QCOMPARE(readFile(csv), deskCsv(desk->rows()));
    QVERIFY(readFile(xlsx).startsWith("PK\x03\x04"));
    QVERIFY(f.prompts.log[0].folder != staff.path() && f.prompts.log[0].proposed.endsWith(".csv"));

    // 打印... shows the table in the print preview.
    int pages = 0;
    QTimer::singleShot(0, [&] {
        if (auto *preview = qobject_cast<PrintPreview *>(QApplication::activeModalWidget())) {
            pages = preview->pageCount();
            QCOMPARE(preview->windowTitle(), QString("打印预览 — 申报资料批量检查结果"));
            preview->reject();
        }
    });
    QTest::mouseClick(desk->findChild<QPushButton *>("DeskPrint"), Qt::LeftButton);
    QCOMPARE(pages, 1);
    QCOMPARE(QDir(staff.path()).entryList(QDir::Files), (QStringList{"a.xml", "c.xml"}));
}

QTEST_MAIN(TestDeskWindow)
#include "tst_deskwindow.moc"
