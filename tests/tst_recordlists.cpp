#include "formfixture.h"
#include "testfiles.h"

#include "document/layout.h"
#include "xml/xmldocument.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

using namespace varnok;

namespace {

using Handler = void (TForm1::*)();
const Handler saveHandlers[ListCount] = {&TForm1::Button16Click, &TForm1::Button18Click, &TForm1::Button11Click,
                                         &TForm1::Button3Click};

const QString DateMessage = "起始时间和结束时间不能相同且起始时间不得大于结束时间！";

// Entry n of a list, as its fields take it and its grid shows it.
QStringList sample(ListId list, int n)
{
    const QString k = QString::number(n);
    const QString year = QString::number(2000 + n);
    switch (list) {
    case WorkHistory: return {"单位" + k, year + "-01-01", year + "-06-30", "备注" + k};
    case Achievements: return {"项目" + k, year + "-01-01", year + "-06-30", "作用" + k, "效果" + k};
    case ContinuingEducation:
        return {"机构" + k, n % 2 ? "选修课" : "必修课", year + "-03-04", k.leftJustified(3, ' '), "内容" + k};
    case CreditRecord: return {year + "-05-06", "部门" + k, n % 2 ? "奖励" : "处罚", "原因" + k, "结果" + k};
    default: return {};
    }
}

// The same entry as the document stores it: dictionary columns as codes.
QStringList stored(ListId list, QStringList values)
{
    static const QMap<QString, QString> codes{{"选修课", "1"}, {"必修课", "2"}, {"奖励", "0"}, {"处罚", "1"}};
    const int coded = list == ContinuingEducation ? 1 : list == CreditRecord ? 2 : -1;
    if (coded >= 0)
        values[coded] = codes.value(values[coded]);
    return values;
}

QStringList withActions(QStringList values) { return values << "编辑" << "删除"; }

struct Lists {
    FormFixture &f;

    ListControls list(ListId id) const { return f.list(id); }
    RecordGrid *grid(ListId id) const { return list(id).grid(); }

    void fill(ListId id, const QStringList &values) const
    {
        for (int i = 0; i < values.size(); ++i)
            setControlValue(list(id).field(i), values[i]);
    }
    QStringList fields(ListId id) const { return list(id).entryValues(); }
    void add(ListId id, const QStringList &values) const
    {
        fill(id, values);
        list(id).addButton()->click();
    }
    void commit(ListId id) const { list(id).addButton()->click(); }
    QStringList row(ListId id, int r) const { return grid(id)->rowCells(r); }
    QPoint current(ListId id) const { return {grid(id)->currentCol(), grid(id)->currentRow()}; }

    // The window shown on the list's tab, so that cells have a place.
    void show(ListId id) const
    {
        f.form->show();
        f.tabs()->setCurrentIndex(int(id) + 1);
    }
    void click(ListId id, int column, int row) const
    {
        RecordGrid *g = grid(id);
        if (row < g->fixedRows()) {  // the fixed heading row is the grid's header
            QHeaderView *heading = g->horizontalHeader();
            QTest::mouseClick(heading->viewport(), Qt::LeftButton, {},
                              QPoint(heading->sectionViewportPosition(column) + 5, heading->height() / 2));
            return;
        }
        const QModelIndex index = g->model()->index(row, column);
        g->scrollTo(index);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
    }
    // As the window system delivers one: press, release, double-click, release.
    void doubleClick(ListId id, int column, int row) const
    {
        QWidget *vp = grid(id)->viewport();
        const QPoint at = grid(id)->visualRect(grid(id)->model()->index(row, column)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, vp->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(vp, &event);
        }
    }
    void key(ListId id, Qt::Key k) const { QTest::keyClick(grid(id), k); }

    // Bind the window to a new file by a basic save.
    QString bind(const QTemporaryDir &dir, const QString &name = "a.xml") const
    {
        const QString path = dir.filePath(name);
        f.fillBasic();
        f.prompts.files << path;
        f.form->Button6Click();
        f.prompts.clear();
        return path;
    }
    void open(const QString &path) const
    {
        f.agreeToDiscard();
        f.prompts.files << path;
        f.form->Label12Click();
    }
};

XmlDocument load(const QString &path)
{
    XmlDocument doc;
    doc.loadFromFile(path);
    return doc;
}

QStringList childNames(const XmlElement &e)
{
    QStringList names;
    for (int i = 0; i < e.childCount(); ++i)
        names << e.child(i).name();
    return names;
}

// The items of a section: their texts in element order, and their ids.
struct Section {
    ListRows rows;
    QStringList ids;
};

QStringList elementNames(const RecordListDef &list)
{
    QStringList names;
    for (const ListField &field : list.fields)
        names << field.element;
    return names;
}

Section readSection(const XmlElement &section, const RecordListDef &layout)
{
    Section out;
    for (int i = 0; i < section.childCount(); ++i) {
        const XmlElement item = section.child(i);
        out.ids << item.attribute("id");
        if (item.name() != layout.item || childNames(item) != elementNames(layout)) {
            // Shows in the comparison that fails.
            out.rows << QStringList{"unexpected " + item.name() + ": " + childNames(item).join(u',')};
            continue;
        }
        QStringList texts;
        for (int c = 0; c < item.childCount(); ++c)
            texts << item.child(c).text();
        out.rows << texts;
    }
    return out;
}

// The rows of the list's section in the file, and the sections in their order.
ListRows savedRows(const QString &path, ListId id)
{
    const XmlDocument doc = load(path);
    const RecordListDef &layout = recordListDef(id);
    return readSection(doc.documentElement().firstChild(layout.section), layout).rows;
}

QStringList sections(const QString &path) { return childNames(load(path).documentElement()); }

bool hasFocus(QWidget *w) { return w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()); }

}  // namespace

class TestRecordLists : public QObject {
    Q_OBJECT
private slots:
    void addCopiesTheFieldsAndClearsThem_data();
    void addCopiesTheFieldsAndClearsThem();
    void refusedAddChangesNothing_data();
    void refusedAddChangesNothing();
    void editClickedRowThenCommitToTheCurrentRow_data();
    void editClickedRowThenCommitToTheCurrentRow();
    void commitWithNoEntryRowsLeft();
    void keyboardMovesReportClicks();
    void fixedHeaderRow();
    void removingRows();
    void saveButtonFollowsTheActions();
    void headerAndEntryRowsArePainted();
    void tabKeyOrder_data();
    void tabKeyOrder();

    void listSaveWritesTheSection_data();
    void listSaveWritesTheSection();
    void sectionsGoLastAndBasicSaveRestoresTheOrder();
    void basicSaveWritesTheGridWhileAnEditIsPending();
    void twoCopiesOfASectionBecomeOne();
    void listSaveWritesGb2312WhateverTheFileDeclared_data();
    void listSaveWritesGb2312WhateverTheFileDeclared();
    void codedColumnsAreStoredAsCodesAndShownAsTexts();
    void listSaveWithoutADocument_data();
    void listSaveWithoutADocument();
    void listSaveOfABrokenFileWritesNothing();
    void editOfABadDateCellShowsTheError();
    void unusualTextsSurvive_data();
    void unusualTextsSurvive();
    void wholeDeclarationComesBack();
};

// ------------------------------------------------------------- in the grid

void TestRecordLists::headerAndEntryRowsArePainted()
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

void TestRecordLists::tabKeyOrder_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QStringList>("order");  // from the first control, by the Tab key
    QTest::newRow("work history") << int(WorkHistory)
                                  << QStringList{"W_wkpart", "W_wktms", "W_wktme", "W_wkmemo", "W_wkgrid", "Button15",
                                                 "Button16"};
    QTest::newRow("credit record, grid first")
        << int(CreditRecord)
        << QStringList{"W_xygrid", "W_xymng", "W_xysn", "W_xysj", "W_xymemo", "Button1", "Button3", "W_xycls"};
}

void TestRecordLists::tabKeyOrder()
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

void TestRecordLists::addCopiesTheFieldsAndClearsThem_data()
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

void TestRecordLists::addCopiesTheFieldsAndClearsThem()
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

void TestRecordLists::refusedAddChangesNothing_data()
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

void TestRecordLists::refusedAddChangesNothing()
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

void TestRecordLists::editClickedRowThenCommitToTheCurrentRow_data()
{
    QTest::addColumn<int>("list");
    QTest::newRow("work history") << int(WorkHistory);
    QTest::newRow("achievements") << int(Achievements);
    QTest::newRow("education") << int(ContinuingEducation);
    QTest::newRow("credit") << int(CreditRecord);
}

void TestRecordLists::editClickedRowThenCommitToTheCurrentRow()
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

void TestRecordLists::commitWithNoEntryRowsLeft()
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

void TestRecordLists::keyboardMovesReportClicks()
{
    FormFixture f;
    Lists l{f};
    const ListId id = CreditRecord;  // edit column 5, delete column 6
    l.show(id);
    for (int n = 1; n <= 4; ++n)
        l.add(id, sample(id, n));
    QCOMPARE(l.current(id), QPoint(0, 1));

    // Right along row 1: the edit column starts an edit of that row.
    for (int k = 0; k < 4; ++k)
        l.key(id, Qt::Key_Right);
    QCOMPARE(l.current(id), QPoint(4, 1));
    QCOMPARE(l.list(id).addButton()->text(), QString("增加"));
    l.key(id, Qt::Key_Right);
    QCOMPARE(l.list(id).addButton()->text(), QString("保存修改"));
    QCOMPARE(l.fields(id), sample(id, 1));
    l.key(id, Qt::Key_Down);
    QCOMPARE(l.fields(id), sample(id, 2));

    // Into the delete column: the row goes at once, and the current cell stays
    // in the column, so every further move removes another row.
    l.key(id, Qt::Key_Right);
    QCOMPARE(l.grid(id)->rowCount(), 4);
    QCOMPARE(l.row(id, 2), withActions(sample(id, 3)));
    QCOMPARE(l.current(id), QPoint(6, 2));
    l.key(id, Qt::Key_Down);
    QCOMPARE(l.grid(id)->rowCount(), 3);
    QCOMPARE(l.row(id, 1), withActions(sample(id, 1)));
    QCOMPARE(l.row(id, 2), withActions(sample(id, 3)));
    l.key(id, Qt::Key_Up);
    QCOMPARE(l.grid(id)->rowCount(), 2);
    QCOMPARE(l.row(id, 1), withActions(sample(id, 3)));
    QVERIFY(f.prompts.log.isEmpty());
    // The edit stays pending, and removals enabled "保存".
    QCOMPARE(l.list(id).addButton()->text(), QString("保存修改"));
    QVERIFY(l.list(id).saveButton()->isEnabled());
}

void TestRecordLists::fixedHeaderRow()
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
    l.open(path);
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

void TestRecordLists::removingRows()
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

void TestRecordLists::saveButtonFollowsTheActions()
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
    l.open(f.form->currentDocumentPath());
    QVERIFY(save->isEnabled());
    QVERIFY(f.prompts.errors().isEmpty());
}

// ------------------------------------------------------------ in the file

void TestRecordLists::listSaveWritesTheSection_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("entries");
    const char *names[] = {"work history", "achievements", "education", "credit"};
    for (int id = 0; id < ListCount; ++id)
        for (int entries : {0, 2})
            QTest::addRow("%s, %d entries", names[id], entries) << id << entries;
}

void TestRecordLists::listSaveWritesTheSection()
{
    QFETCH(int, list);
    QFETCH(int, entries);
    const ListId id = ListId(list);
    const RecordListDef &layout = recordListDef(id);
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    const QString path = l.bind(dir);
    const QByteArray basic = readFile(path);
    ListRows expected;
    for (int n = 1; n <= entries; ++n) {
        l.add(id, sample(id, n));
        expected << stored(id, sample(id, n));
    }

    QStringList ids;
    for (int save = 0; save < 2; ++save) {
        f.tabs()->setCurrentIndex(int(id) + 1);
        (f.form.get()->*saveHandlers[id])();
        QVERIFY(f.prompts.log.isEmpty());
        QVERIFY(!l.list(id).saveButton()->isEnabled());
        QCOMPARE(f.form->statusText(1), "当前文件保存路径：" + path);
        QCOMPARE(f.tabs()->currentIndex(), int(id) + 1);

        const XmlDocument doc = load(path);
        const XmlElement root = doc.documentElement();
        QCOMPARE(childNames(root), QStringList({"初始注册", "最高学历", layout.section}));
        const Section section = readSection(root.child(2), layout);
        QCOMPARE(section.rows, expected);
        ids << section.ids;
    }
    static const QRegularExpression form("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    for (const QString &recordId : ids)
        QVERIFY2(form.match(recordId).hasMatch(), qPrintable(recordId));
    QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), 2 * entries);
    // The basic information is left as it was.
    QVERIFY(readFile(path).startsWith(basic.left(basic.lastIndexOf("</root>"))));
}

void TestRecordLists::sectionsGoLastAndBasicSaveRestoresTheOrder()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    const QString path = l.bind(dir);
    for (int id = 0; id < ListCount; ++id)
        l.add(ListId(id), sample(ListId(id), id + 1));
    f.form->Button3Click();
    f.form->Button16Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "信用档案", "工作简历"}));
    f.form->Button11Click();
    f.form->Button3Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "工作简历", "继续教育情况", "信用档案"}));

    f.form->Button6Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "工作简历", "主要业绩", "继续教育情况", "信用档案"}));
    QCOMPARE(f.prompts.messages(), QStringList{"文件保存成功！"});
    for (int id = 0; id < ListCount; ++id)
        QCOMPARE(savedRows(path, ListId(id)), ListRows{stored(ListId(id), sample(ListId(id), id + 1))});

    // A list emptied since is gone after the next basic save.
    l.show(WorkHistory);
    l.click(WorkHistory, 5, 1);
    f.tabs()->setCurrentIndex(0);
    f.form->Button6Click();
    QCOMPARE(sections(path), QStringList({"初始注册", "最高学历", "主要业绩", "继续教育情况", "信用档案"}));
    QCOMPARE(f.tabs()->currentIndex(), 1);
}

void TestRecordLists::basicSaveWritesTheGridWhileAnEditIsPending()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    l.show(WorkHistory);
    l.add(WorkHistory, sample(WorkHistory, 1));
    l.click(WorkHistory, 4, 1);
    l.fill(WorkHistory, sample(WorkHistory, 2));
    const QString path = l.bind(dir);

    QCOMPARE(savedRows(path, WorkHistory), ListRows{sample(WorkHistory, 1)});
    QCOMPARE(l.list(WorkHistory).addButton()->text(), QString("保存修改"));
    QCOMPARE(l.fields(WorkHistory), sample(WorkHistory, 2));
    l.commit(WorkHistory);
    QCOMPARE(l.row(WorkHistory, 1), withActions(sample(WorkHistory, 2)));
}

void TestRecordLists::twoCopiesOfASectionBecomeOne()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("twice.xml");
    writeFile(path, QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n"
                            "<工作简历><简历列表 id=\"x\"><工作单位>甲</工作单位><起始时间>2001-01-01</起始时间>"
                            "<结束时间>2002-01-01</结束时间><备注>一</备注></简历列表></工作简历>\n"
                            "<主要业绩/>\n"
                            "<工作简历><简历列表 id=\"y\"><工作单位>乙</工作单位><起始时间>2003-01-01</起始时间>"
                            "<结束时间>2004-01-01</结束时间><备注>二</备注></简历列表>"
                            "<简历列表 id=\"z\"><工作单位>丙</工作单位><起始时间>2005-01-01</起始时间>"
                            "<结束时间>2006-01-01</结束时间><备注>三</备注></简历列表></工作简历>\n"
                            "</root>\n")
                        .toUtf8());
    FormFixture f;
    Lists l{f};
    l.open(path);
    const ListRows rows{{"甲", "2001-01-01", "2002-01-01", "一"},
                        {"乙", "2003-01-01", "2004-01-01", "二"},
                        {"丙", "2005-01-01", "2006-01-01", "三"}};
    QCOMPARE(l.list(WorkHistory).rows(), rows);

    f.form->Button16Click();
    QCOMPARE(sections(path), QStringList({"主要业绩", "工作简历"}));
    QCOMPARE(savedRows(path, WorkHistory), rows);
    QVERIFY(f.prompts.log.size() == 1 && f.prompts.errors().isEmpty());  // the open dialog only
}

void TestRecordLists::listSaveWritesGb2312WhateverTheFileDeclared_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString body = "<root><工作简历><简历列表><工作单位>甲</工作单位><起始时间>2001-01-01</起始时间>"
                         "<结束时间>2002-01-01</结束时间><备注>一</备注></简历列表></工作简历></root>";
    QTest::newRow("UTF-8") << ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body).toUtf8();
    QTest::newRow("no declaration") << body.toUtf8();
    QTest::newRow("standalone") << ("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>" + body).toUtf8();
    QStringEncoder utf16("UTF-16LE");
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE") + QByteArray(utf16.encode("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body));
}

// Every save writes the declaration and bytes of the application document.
void TestRecordLists::listSaveWritesGb2312WhateverTheFileDeclared()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("elsewhere.xml");
    writeFile(path, bytes);
    FormFixture f;
    Lists l{f};
    l.open(path);
    l.add(WorkHistory, sample(WorkHistory, 2));
    f.form->Button16Click();
    QVERIFY(f.prompts.errors().isEmpty());
    const QByteArray written = readFile(path);
    QVERIFY2(written.startsWith("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<root>"), written.left(60).constData());
    QVERIFY(written.contains(gb("<工作单位>甲</工作单位>")));
    QCOMPARE(savedRows(path, WorkHistory), (ListRows{{"甲", "2001-01-01", "2002-01-01", "一"}, sample(WorkHistory, 2)}));
}

void TestRecordLists::codedColumnsAreStoredAsCodesAndShownAsTexts()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    l.add(ContinuingEducation, sample(ContinuingEducation, 1));  // 选修课
    l.add(ContinuingEducation, sample(ContinuingEducation, 2));  // 必修课
    l.add(CreditRecord, sample(CreditRecord, 1));                // 奖励
    l.add(CreditRecord, sample(CreditRecord, 2));                // 处罚
    const QString path = l.bind(dir);

    const QByteArray bytes = readFile(path);
    for (const char *element : {"<课程类型>1</课程类型>", "<课程类型>2</课程类型>", "<奖励或处罚>0</奖励或处罚>",
                                "<奖励或处罚>1</奖励或处罚>"})
        QVERIFY2(bytes.contains(gb(element)), element);

    FormFixture g;
    Lists m{g};
    m.open(path);
    QCOMPARE(m.row(ContinuingEducation, 1).value(1), QString("选修课"));
    QCOMPARE(m.row(ContinuingEducation, 2).value(1), QString("必修课"));
    QCOMPARE(m.row(CreditRecord, 1).value(2), QString("奖励"));
    QCOMPARE(m.row(CreditRecord, 2).value(2), QString("处罚"));
    m.show(CreditRecord);
    m.click(CreditRecord, 5, 2);
    QCOMPARE(m.fields(CreditRecord), sample(CreditRecord, 2));

    // A code the dictionary lacks shows empty; its entry cannot be committed
    // until a course type is chosen.
    writeFile(path, readFile(path).replace(gb("<课程类型>2</课程类型>"), gb("<课程类型>9</课程类型>")));
    m.open(path);
    QCOMPARE(m.row(ContinuingEducation, 2).value(1), QString());
    m.show(ContinuingEducation);
    m.click(ContinuingEducation, 5, 2);
    QCOMPARE(m.fields(ContinuingEducation).value(1), QString());
    m.commit(ContinuingEducation);
    QCOMPARE(g.prompts.messages(), QStringList{"课程类型必须填写！"});
    QCOMPARE(m.list(ContinuingEducation).addButton()->text(), QString("保存修改"));
}

void TestRecordLists::listSaveWithoutADocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bound");  // to a file removed since
    QTest::addColumn<bool>("refused");
    QTest::newRow("no document, no name") << "" << false << true;
    QTest::newRow("no document, name of blanks") << " " << false << false;
    QTest::newRow("no document, name") << "王堃" << false << false;
    QTest::newRow("file gone") << "" << true << false;
}

void TestRecordLists::listSaveWithoutADocument()
{
    QFETCH(QString, name);
    QFETCH(bool, bound);
    QFETCH(bool, refused);
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    f.showActive();
    QString path;
    if (bound) {
        path = l.bind(dir);
        QVERIFY(QFile::remove(path));
    }
    f.set("W_name", name);
    l.show(Achievements);
    l.add(Achievements, sample(Achievements, 1));
    const QString status = f.form->statusText(1);
    l.list(Achievements).saveButton()->setFocus();

    l.list(Achievements).saveButton()->click();
    QCOMPARE(f.prompts.messages(), refused ? QStringList{"请先填写基本信息"} : QStringList());
    QVERIFY(f.prompts.errors().isEmpty());
    QCOMPARE(f.tabs()->currentIndex(), refused ? 0 : 2);
    QCOMPARE(hasFocus(f.get("W_name")), refused);
    QVERIFY(l.list(Achievements).saveButton()->isEnabled());
    QCOMPARE(f.form->statusText(1), status);
    QCOMPARE(f.form->currentDocumentPath(), path);
    QVERIFY(QDir(dir.path()).isEmpty());
}

// -------------------------------------------------------------- bad input

void TestRecordLists::listSaveOfABrokenFileWritesNothing()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    const QString path = l.bind(dir);
    l.add(WorkHistory, sample(WorkHistory, 1));
    const QByteArray broken = readFile(path).replace("</root>", "</ro");
    writeFile(path, broken);

    l.list(WorkHistory).saveButton()->click();
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY(f.prompts.messages().isEmpty());
    QCOMPARE(readFile(path), broken);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.xml"});
    QVERIFY(l.list(WorkHistory).saveButton()->isEnabled());
    QCOMPARE(l.grid(WorkHistory)->rowCount(), 2);

    // A cell holding a character no file can hold (put there behind the
    // fields' back) is refused with a message; the file stays as it was.
    const QByteArray whole = QByteArray(broken).replace("</ro", "</root>");
    writeFile(path, whole);
    f.prompts.clear();
    l.grid(WorkHistory)->setCell(3, 1, "备\x01注");
    l.list(WorkHistory).saveButton()->click();
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY2(f.prompts.errors()[0].contains("U+0001"), qPrintable(f.prompts.errors()[0]));
    QCOMPARE(readFile(path), whole);
}

void TestRecordLists::editOfABadDateCellShowsTheError()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("edited.xml");
    writeFile(path, QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><工作简历><简历列表>"
                            "<工作单位>甲</工作单位><起始时间>2001-13-45</起始时间><结束时间>2002-01-01</结束时间>"
                            "<备注>一</备注></简历列表></工作简历></root>\n")
                        .toUtf8());
    FormFixture f;
    Lists l{f};
    l.open(path);
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

void TestRecordLists::unusualTextsSurvive_data()
{
    QTest::addColumn<QString>("text");
    QString longText;
    while (longText.size() < 10000)
        longText += "很长的文字 long text 0123456789 ";
    QTest::newRow("10,000 characters") << longText.left(10000);
    QTest::newRow("line breaks") << "第一行\n第二行\n\n第四行";
    QTest::newRow("xml specials") << "a & b < c > d \" e ' f &amp; <x/> ]]>";
    QTest::newRow("outside GB2312") << "王堃 张喆 😀";
}

void TestRecordLists::unusualTextsSurvive()
{
    QFETCH(QString, text);
    // The text in every free-text field of every list.
    auto entry = [&](ListId id) {
        QStringList values = sample(id, 1);
        const RecordListDef &def = recordListDefs()[id];
        for (size_t i = 0; i < def.fields.size(); ++i)
            if (def.fields[i].kind == FieldKind::Edit || def.fields[i].kind == FieldKind::LabeledEdit ||
                def.fields[i].kind == FieldKind::Memo)
                values[int(i)] = text;
        return values;
    };
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    for (int id = 0; id < ListCount; ++id) {
        const ListId list = ListId(id);
        const int edit = l.list(list).def().editColumn();
        l.add(list, entry(list));
        QCOMPARE(l.row(list, 1), withActions(entry(list)));
        l.show(list);
        l.click(list, edit, 1);
        QCOMPARE(l.fields(list), entry(list));
        l.commit(list);
        QCOMPARE(l.row(list, 1), withActions(entry(list)));
    }
    const QString path = l.bind(dir);
    for (int id = 0; id < ListCount; ++id)
        QCOMPARE(savedRows(path, ListId(id)), ListRows{stored(ListId(id), entry(ListId(id)))});

    FormFixture g;
    Lists m{g};
    m.open(path);
    for (int id = 0; id < ListCount; ++id) {
        const ListId list = ListId(id);
        QCOMPARE(m.row(list, 1), withActions(entry(list)));
        m.show(list);
        m.click(list, m.list(list).def().editColumn(), 1);
        QCOMPARE(m.fields(list), entry(list));
    }
    QVERIFY(f.prompts.errors().isEmpty() && g.prompts.errors().isEmpty());
}

// ------------------------------------------------------------- whole flow

void TestRecordLists::wholeDeclarationComesBack()
{
    QTemporaryDir dir;
    FormFixture f;
    Lists l{f};
    f.fillBasic("李喆");
    f.set("W_work", "2007-07-01");
    f.set("W_zyzw", "高级工程师");
    f.set("W_rzsj", "2013-01-01");
    f.set("W_zgqd", "考核");
    f.set("W_qfrq", "2012-05-20");
    f.set("W_bysj", "2007-06-30");
    for (int id = 0; id < ListCount; ++id)
        for (int n = 1; n <= 3; ++n)
            l.add(ListId(id), sample(ListId(id), n + id));
    const QString path = dir.filePath("whole.xml");
    f.prompts.files << path;
    f.form->Button6Click();
    QCOMPARE(f.prompts.messages(), QStringList{"文件保存成功！"});

    FormFixture g;
    Lists m{g};
    m.open(path);
    QVERIFY(g.prompts.errors().isEmpty());
    for (const BasicField &field : basicFields())
        QCOMPARE(g.value(field.control), f.value(field.control));
    QCOMPARE(g.value("W_name"), QString("李喆"));
    for (int id = 0; id < ListCount; ++id) {
        QCOMPARE(m.grid(ListId(id))->rowCount(), 4);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(m.row(ListId(id), r), l.row(ListId(id), r));
    }
}

QTEST_MAIN(TestRecordLists)
#include "tst_recordlists.moc"
