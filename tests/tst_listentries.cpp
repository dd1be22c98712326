// Record lists in the window: adding, editing and removing entries, the
// grid's fixed heading and its clicks and keys, the keyboard order, and the
// list's 保存 following what was done.
#include "listsfixture.h"

#include <QRegularExpression>

using namespace lists;

class TestListEntries : public QObject {
    Q_OBJECT
private slots:
    void headerAndEntryRowsArePainted();
    void tabKeyOrder_data();
    void tabKeyOrder();
    void addCopiesTheFieldsAndClearsThem_data();
    void addCopiesTheFieldsAndClearsThem();
    void refusedAddChangesNothing_data();
    void refusedAddChangesNothing();
    void editClickedRowThenCommitToTheCurrentRow_data();
    void editClickedRowThenCommitToTheCurrentRow();
    void commitWithNoEntryRowsLeft();
    void keysMoveOnlyEnterActsAndUndoPutsBack();
    void fixedHeaderRow();
    void removingRows();
    void saveButtonFollowsTheActions();
    void editOfABadDateCellShowsTheError();
};

// ------------------------------------------------------------- in the grid

void TestListEntries::headerAndEntryRowsArePainted()
{
    FormFixture f;
    f.tabs()->setCurrentIndex(1);
    f.form->show();
    f.set("W_wkpart", "某某设计研究院有限公司");
    f.set("W_wktms", "2001-01-01");
    f.form->Button15Click();
    auto *grid = f.get<RecordGrid>("W_wkgrid");
    QCOMPARE(grid->fixedRows(), 1);
    const QImage image = grid->grab().toImage();
    // Text is dark on a light cell: count dark pixels in the heading's band and
    // in the entry row's.
    auto darkPixels = [&](QRect band) {
        int dark = 0;
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        return dark;
    };
    const QRect heading = grid->horizontalHeader()->geometry();
    const QRect entry = grid->visualRect(grid->model()->index(1, 0)).translated(grid->viewport()->pos());
    QVERIFY(darkPixels(QRect(heading.topLeft(), QSize(grid->columnWidth(0), heading.height()))) > 20);
    QVERIFY(darkPixels(entry) > 20);
}

void TestListEntries::tabKeyOrder_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QStringList>("order");  // from the first control, by the Tab key
    QTest::newRow("work history") << int(WorkHistory) << QStringList{"W_wkpart", "W_wktms",  "W_wktme", "W_wkmemo",
                                                                     "W_wkgrid", "Button15", "Button16"};
    QTest::newRow("credit record, grid first")
        << int(CreditRecord)
        << QStringList{"W_xygrid", "W_xymng", "W_xysn", "W_xysj", "W_xymemo", "Button1", "Button3", "W_xycls"};
}

void TestListEntries::tabKeyOrder()
{
    QFETCH(int, list);
    QFETCH(QStringList, order);
    FormFixture f;
    f.showActive();
    ListControls l = f.list(ListId(list));
    l.saveButton()->setEnabled(true);
    f.tabs()->setCurrentIndex(list + 1);
    f.get(order.first())->setFocus(Qt::TabFocusReason);
    QStringList seen{order.first()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *w = QApplication::focusWidget();
        while (w && w->objectName().isEmpty())  // the editor inside a date picker
            w = w->parentWidget();
        seen << (w ? w->objectName() : QString());
    }
    QCOMPARE(seen, order);
}

void TestListEntries::addCopiesTheFieldsAndClearsThem_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("work history") << int(WorkHistory)
                                  << QStringList{"  某单位 ", "2001-02-03", "2001-02-04", " 备注\n第二行 "};
    QTest::newRow("achievements") << int(Achievements)
                                  << QStringList{" 项目\t", "1999-12-31", "2000-01-01", "作用 ", "\n效果"};
    QTest::newRow("education") << int(ContinuingEducation)
                               << QStringList{" 机构", "必修课", "2020-02-29", "1 3", "内容 "};
    QTest::newRow("education, blank hours")
        << int(ContinuingEducation) << QStringList{"机构", "选修课", "2020-02-29", "   ", "内容"};
    QTest::newRow("credit") << int(CreditRecord) << QStringList{"2010-10-10", "部门 ", "处罚", " 原因", "结果\n"};
}

void TestListEntries::addCopiesTheFieldsAndClearsThem()
{
    QFETCH(int, list);
    QFETCH(QStringList, values);
    const ListId id = ListId(list);
    FormFixture f;
    Lists l{f};
    const QStringList headings = l.row(id, 0);

    l.add(id, values);
    QVERIFY(f.prompts.log.isEmpty());
    QCOMPARE(l.grid(id)->rowCount(), 2);
    QCOMPARE(l.row(id, 0), headings);
    QCOMPARE(l.row(id, 1), withActions(values));
    QCOMPARE(l.grid(id)->fixedRows(), 1);
    QCOMPARE(l.current(id), QPoint(0, 1));
    QCOMPARE(l.list(id).addButton()->text(), QString("增加"));
    QVERIFY(l.list(id).saveButton()->isEnabled());

    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    const RecordListDef &def = l.list(id).def();
    for (size_t i = 0; i < def.fields.size(); ++i) {
        const FieldKind kind = def.fields[i].kind;
        const QString cleared = kind == FieldKind::Date ? today : kind == FieldKind::Mask ? QString("   ") : QString();
        QCOMPARE(l.fields(id).value(int(i)), cleared);
    }

    // Later entries go to the bottom; the current cell stays.
    l.add(id, sample(id, 2));
    QCOMPARE(l.grid(id)->rowCount(), 3);
    QCOMPARE(l.row(id, 1), withActions(values));
    QCOMPARE(l.row(id, 2), withActions(sample(id, 2)));
    QCOMPARE(l.current(id), QPoint(0, 1));
}

void TestListEntries::refusedAddChangesNothing_data()
{
    using Changes = QList<QPair<QString, QString>>;
    QTest::addColumn<int>("list");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    auto row = [](const char *name, ListId id, const Changes &changes, const QString &message, const QString &focus) {
        QStringList values = sample(id, 1);
        for (const auto &[field, value] : changes)
            values[recordListDefs()[id].fieldIndex(field)] = value;
        QTest::newRow(name) << int(id) << values << message << focus;
    };
    row("work: employer blank", WorkHistory, {{"W_wkpart", " \t\r\n"}}, "工作单位必须填写！", "W_wkpart");
    row("work: same day", WorkHistory, {{"W_wktme", "2001-01-01"}}, DateMessage, "W_wktms");
    row("work: both", WorkHistory, {{"W_wkpart", ""}, {"W_wktms", "2009-01-01"}}, "工作单位必须填写！", "W_wkpart");
    row("achievements: name", Achievements, {{"W_yjname", " "}}, "项目名称必须填写！", "W_yjname");
    row("achievements: reversed", Achievements, {{"W_yjtms", "2001-07-01"}}, DateMessage, "W_yjtms");
    row("achievements: role", Achievements, {{"W_yjmemo1", "\n \n"}}, "本人作用必须填写！", "W_yjmemo1");
    row("achievements: effect", Achievements, {{"W_yjmemo2", ""}}, "完成情况及效果必须填写！", "W_yjmemo2");
    row("education: institution", ContinuingEducation, {{"W_jyjg", "\t"}}, "教育机构必须填写！", "W_jyjg");
    row("education: course type", ContinuingEducation, {{"W_jylx", ""}}, "课程类型必须填写！", "W_jylx");
    row("education: content", ContinuingEducation, {{"W_jynr", " "}}, "培训内容必须填写！", "W_jynr");
    row("credit: department", CreditRecord, {{"W_xymng", ""}, {"W_xycls", ""}, {"W_xysn", ""}, {"W_xymemo", ""}},
        "授奖部门或处罚单位必须填写！", "W_xymng");
    row("credit: kind", CreditRecord, {{"W_xycls", ""}, {"W_xysn", ""}}, "奖励与处罚类型必须选择！", "W_xycls");
    row("credit: reason", CreditRecord, {{"W_xysn", " "}}, "奖惩原因必须填写！", "W_xysn");
    row("credit: result", CreditRecord, {{"W_xymemo", " \n"}}, "奖惩结果必须填写！", "W_xymemo");
}

void TestListEntries::refusedAddChangesNothing()
{
    QFETCH(int, list);
    QFETCH(QStringList, values);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const ListId id = ListId(list);
    FormFixture f;
    Lists l{f};
    f.showActive();
    l.show(id);
    l.fill(id, values);
    l.list(id).addButton()->setFocus();

    l.list(id).addButton()->click();
    QCOMPARE(f.prompts.messages(), QStringList{message});
    QVERIFY2(hasFocus(l.list(id).field(focus)), qPrintable(f.focused() ? f.focused()->objectName() : "none"));
    QCOMPARE(l.fields(id), values);
    QCOMPARE(l.grid(id)->rowCount(), 1);
    QCOMPARE(l.grid(id)->fixedRows(), 0);
    QCOMPARE(l.list(id).addButton()->text(), QString("增加"));
    QVERIFY(!l.list(id).saveButton()->isEnabled());
}

void TestListEntries::editClickedRowThenCommitToTheCurrentRow_data()
{
    QTest::addColumn<int>("list");
    QTest::newRow("work history") << int(WorkHistory);
    QTest::newRow("achievements") << int(Achievements);
    QTest::newRow("education") << int(ContinuingEducation);
    QTest::newRow("credit") << int(CreditRecord);
}

void TestListEntries::editClickedRowThenCommitToTheCurrentRow()
{
    QFETCH(int, list);
    const ListId id = ListId(list);
    FormFixture f;
    Lists l{f};
    l.show(id);
    for (int n = 1; n <= 3; ++n)
        l.add(id, sample(id, n));
    const int edit = l.list(id).def().editColumn();
    QPushButton *add = l.list(id).addButton();
    QPushButton *save = l.list(id).saveButton();

    l.click(id, edit, 2);
    QCOMPARE(add->text(), QString("保存修改"));
    QVERIFY(!save->isEnabled());
    QCOMPARE(l.fields(id), sample(id, 2));

    // Another row's edit cell reloads the fields and stays in edit mode.
    l.click(id, edit, 1);
    QCOMPARE(add->text(), QString("保存修改"));
    QCOMPARE(l.fields(id), sample(id, 1));
    l.click(id, edit, 2);

    l.fill(id, sample(id, 9));
    l.click(id, 0, 3);
    QCOMPARE(add->text(), QString("保存修改"));
    QCOMPARE(l.fields(id), sample(id, 9));

    // A refused commit leaves the edit pending.
    setControlValue(l.list(id).field(l.list(id).def().checks.front().field), "");
    l.commit(id);
    QCOMPARE(f.prompts.messages().size(), 1);
    QCOMPARE(add->text(), QString("保存修改"));
    QVERIFY(!save->isEnabled());
    l.fill(id, sample(id, 9));

    l.commit(id);
    QCOMPARE(f.prompts.messages().size(), 1);
    QCOMPARE(l.grid(id)->rowCount(), 4);
    QCOMPARE(l.row(id, 1), withActions(sample(id, 1)));
    QCOMPARE(l.row(id, 2), withActions(sample(id, 2)));
    QCOMPARE(l.row(id, 3), withActions(sample(id, 9)));
    QCOMPARE(add->text(), QString("增加"));
    QVERIFY(save->isEnabled());
    QCOMPARE(l.fields(id).value(0), l.list(id).def().fields[0].kind == FieldKind::Date
                                        ? QDate::currentDate().toString("yyyy-MM-dd")
                                        : QString());
}

void TestListEntries::commitWithNoEntryRowsLeft()
{
    FormFixture f;
    Lists l{f};
    l.show(WorkHistory);
    l.add(WorkHistory, sample(WorkHistory, 1));
    l.click(WorkHistory, 4, 1);
    QCOMPARE(l.list(WorkHistory).addButton()->text(), QString("保存修改"));
    l.click(WorkHistory, 5, 1);
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 1);
    QVERIFY(l.list(WorkHistory).saveButton()->isEnabled());

    l.fill(WorkHistory, sample(WorkHistory, 7));
    l.commit(WorkHistory);
    QCOMPARE(l.list(WorkHistory).addButton()->text(), QString("增加"));
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 1);
    QCOMPARE(l.grid(WorkHistory)->fixedRows(), 0);
    QCOMPARE(l.row(WorkHistory, 0), l.list(WorkHistory).def().headers());
    QCOMPARE(l.fields(WorkHistory), sample(WorkHistory, 7));
    QVERIFY(f.prompts.log.isEmpty());

    // Back in add mode, the same fields make a new entry.
    l.commit(WorkHistory);
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 2);
    QCOMPARE(l.row(WorkHistory, 1), withActions(sample(WorkHistory, 7)));
}

void TestListEntries::keysMoveOnlyEnterActsAndUndoPutsBack()
{
    FormFixture f;
    Lists l{f};
    const ListId id = CreditRecord;  // edit column 5, delete column 6
    f.showActive();
    l.show(id);
    for (int n = 1; n <= 4; ++n)
        l.add(id, sample(id, n));
    l.list(id).saveButton()->setEnabled(false);
    QVERIFY(f.get("UndoRemove")->isHidden());

    // Across both action columns and down: nothing is edited or removed, and
    // what is typed in the fields stays there.
    setControlValue(l.list(id).field(1), "正在填写");
    for (int k = 0; k < 6; ++k)
        l.key(id, Qt::Key_Right);
    l.key(id, Qt::Key_Down);
    l.key(id, Qt::Key_Left);
    QCOMPARE(l.current(id), QPoint(5, 2));
    QCOMPARE(l.grid(id)->rowCount(), 5);
    QCOMPARE(l.list(id).addButton()->text(), QString("增加"));
    QCOMPARE(controlValue(l.list(id).field(1)), QString("正在填写"));

    // Enter on "编辑" edits that row, Space on "删除" removes one.
    l.key(id, Qt::Key_Return);
    QCOMPARE(l.list(id).addButton()->text(), QString("保存修改"));
    QCOMPARE(l.fields(id), sample(id, 2));
    l.commit(id);
    l.key(id, Qt::Key_Right);
    l.key(id, Qt::Key_Space);
    QCOMPARE(l.grid(id)->rowCount(), 4);
    QCOMPARE(l.row(id, 2), withActions(sample(id, 3)));
    QVERIFY(l.list(id).saveButton()->isEnabled());

    // Ctrl+Z puts it back where it was, once; "撤销删除" shows meanwhile.
    QVERIFY(!f.get("UndoRemove")->isHidden());
    QTest::keyClick(l.grid(id), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(l.list(id).rows(), (ListRows{sample(id, 1), sample(id, 2), sample(id, 3), sample(id, 4)}));
    QVERIFY(f.get("UndoRemove")->isHidden());
    QTest::keyClick(l.grid(id), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(l.grid(id)->rowCount(), 5);

    // The last entry gone and brought back by the button; a list save ends it.
    while (l.grid(id)->rowCount() > 1)
        l.click(id, 6, 1);
    QTest::mouseClick(f.get("UndoRemove"), Qt::LeftButton);
    QCOMPARE(l.list(id).rows(), ListRows{sample(id, 4)});
    QCOMPARE(l.grid(id)->fixedRows(), 1);
    QTemporaryDir dir;
    l.bind(dir);
    l.show(id);  // the first save went on to the work history
    l.click(id, 6, 1);
    QVERIFY(!f.get("UndoRemove")->isHidden());
    l.list(id).saveButton()->click();
    QVERIFY(f.get("UndoRemove")->isHidden());
    QVERIFY(f.prompts.log.isEmpty());
}

void TestListEntries::fixedHeaderRow()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    l.show(WorkHistory);
    for (int n = 1; n <= 3; ++n)
        l.add(WorkHistory, sample(WorkHistory, n));
    const QString path = l.bind(dir);

    // Fixed: a click on it does nothing, the keyboard does not enter it.
    l.click(WorkHistory, 5, 0);
    l.click(WorkHistory, 4, 0);
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 4);
    QCOMPARE(l.current(WorkHistory), QPoint(0, 1));
    QCOMPARE(l.list(WorkHistory).addButton()->text(), QString("增加"));
    l.key(WorkHistory, Qt::Key_Up);
    QCOMPARE(l.current(WorkHistory), QPoint(0, 1));

    // An opened document leaves the heading an ordinary row; a click on it
    // changes nothing either.
    l.f.open(path);
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 4);
    QCOMPARE(l.grid(WorkHistory)->fixedRows(), 0);
    l.click(WorkHistory, 5, 0);
    l.click(WorkHistory, 4, 0);
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 4);
    QCOMPARE(l.current(WorkHistory), QPoint(4, 0));
    QCOMPARE(l.list(WorkHistory).addButton()->text(), QString("增加"));

    // The first add fixes it and puts the current cell on column 0 of row 1,
    // wherever it was.
    l.click(WorkHistory, 2, 3);
    l.add(WorkHistory, sample(WorkHistory, 4));
    QCOMPARE(l.grid(WorkHistory)->fixedRows(), 1);
    QCOMPARE(l.current(WorkHistory), QPoint(0, 1));
    QVERIFY(f.prompts.messages().isEmpty() && f.prompts.errors().isEmpty());
}

void TestListEntries::removingRows()
{
    FormFixture f;
    Lists l{f};
    l.show(Achievements);
    for (int n = 1; n <= 4; ++n)
        l.add(Achievements, sample(Achievements, n));
    const QStringList headings = l.row(Achievements, 0);

    TForm1::RemoveGridRow(l.grid(Achievements), 2);
    QCOMPARE(l.grid(Achievements)->rowCount(), 4);
    QCOMPARE(l.row(Achievements, 1), withActions(sample(Achievements, 1)));
    QCOMPARE(l.row(Achievements, 2), withActions(sample(Achievements, 3)));
    QCOMPARE(l.row(Achievements, 3), withActions(sample(Achievements, 4)));

    // A double-click on "删除" removes one row, as a click does.
    l.doubleClick(Achievements, 6, 1);
    QCOMPARE(l.grid(Achievements)->rowCount(), 3);
    QCOMPARE(l.row(Achievements, 1), withActions(sample(Achievements, 3)));
    for (int left = 2; left > 0; --left)
        l.click(Achievements, 6, 1);
    QCOMPARE(l.grid(Achievements)->rowCount(), 1);
    QCOMPARE(l.grid(Achievements)->fixedRows(), 0);
    QCOMPARE(l.row(Achievements, 0), headings);

    // The next add fixes the heading again.
    l.add(Achievements, sample(Achievements, 5));
    QCOMPARE(l.grid(Achievements)->fixedRows(), 1);
    QCOMPARE(l.current(Achievements), QPoint(0, 1));
    QVERIFY(f.prompts.log.isEmpty());
}

void TestListEntries::saveButtonFollowsTheActions()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    const ListId id = ContinuingEducation;
    l.show(id);
    QPushButton *save = l.list(id).saveButton();
    l.bind(dir);
    QVERIFY(!save->isEnabled());

    l.add(id, sample(id, 1));
    QVERIFY(save->isEnabled());
    save->click();
    QVERIFY(!save->isEnabled());
    l.add(id, sample(id, 2));
    QVERIFY(save->isEnabled());
    l.click(id, 5, 1);  // edit
    QVERIFY(!save->isEnabled());
    setControlValue(l.list(id).field(0), "");
    l.commit(id);  // refused
    QVERIFY(!save->isEnabled());
    l.fill(id, sample(id, 3));
    l.commit(id);
    QVERIFY(save->isEnabled());
    save->click();
    QVERIFY(!save->isEnabled());
    l.click(id, 2, 1);  // an ordinary cell
    QVERIFY(!save->isEnabled());
    l.click(id, 6, 1);  // remove
    QVERIFY(save->isEnabled());
    save->click();
    QVERIFY(!save->isEnabled());
    // The basic save runs the list save and leaves it disabled; opening does
    // not change it.
    l.add(id, sample(id, 4));
    f.form->Button6Click();
    QVERIFY(!save->isEnabled());
    l.add(id, sample(id, 5));
    l.f.open(f.form->currentDocumentPath());
    QVERIFY(save->isEnabled());
    QVERIFY(f.prompts.errors().isEmpty());
}

void TestListEntries::editOfABadDateCellShowsTheError()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("edited.xml");
    writeFile(path, QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><工作简历><简历列表>"
                            "<工作单位>甲</工作单位><起始时间>2001-13-45</起始时间><结束时间>2002-01-01</结束时间>"
                            "<备注>一</备注></简历列表></工作简历></root>\n")
                        .toUtf8());
    FormFixture f;
    Lists l{f};
    l.f.open(path);
    QCOMPARE(l.row(WorkHistory, 1), withActions({"甲", "2001-13-45", "2002-01-01", "一"}));
    l.show(WorkHistory);
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");

    l.click(WorkHistory, 4, 1);
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY2(f.prompts.errors().constFirst().contains("2001-13-45"), qPrintable(f.prompts.errors().constFirst()));
    // Copied up to the failing cell, and the edit is on.
    QCOMPARE(l.fields(WorkHistory), QStringList({"甲", today, today, ""}));
    QCOMPARE(l.list(WorkHistory).addButton()->text(), QString("保存修改"));

    // Still usable: the commit fixes the row, and it saves.
    l.fill(WorkHistory, sample(WorkHistory, 1));
    l.commit(WorkHistory);
    QCOMPARE(l.row(WorkHistory, 1), withActions(sample(WorkHistory, 1)));
    l.list(WorkHistory).saveButton()->click();
    QCOMPARE(savedRows(path, WorkHistory), ListRows{sample(WorkHistory, 1)});
    QCOMPARE(f.prompts.errors().size(), 1);
}

QTEST_MAIN(TestListEntries)
#include "tst_listentries.moc"
