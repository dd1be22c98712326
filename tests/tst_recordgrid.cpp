// The record grid on its own, without a window: which mouse and keyboard
// gestures move the current cell and which report a click, the fixed heading row,
// and how cells show line breaks.
#include "widgets/recordgrid.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QtTest>

using namespace varnok;

namespace {

const QStringList Headings{"工作单位", "起始时间", "修改", "删除"};

// A shown grid with the heading row and entries rows, the heading fixed.
struct Grid {
    RecordGrid grid{4};
    QSignalSpy clicks{&grid, &RecordGrid::gridClicked};

    explicit Grid(int entries = 3)
    {
        grid.resize(400, 120);
        grid.setRow(0, Headings);
        for (int r = 1; r <= entries; ++r) {
            grid.setRowCount(r + 1);
            grid.setRow(r, {QString("单位%1").arg(r), "2001-01-01", "编辑", "删除"});
        }
        grid.setFixedRows(1);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
    QPoint cell(int column, int row) const { return grid.visualRect(grid.model()->index(row, column)).center(); }
    QPoint current() const { return {grid.currentCol(), grid.currentRow()}; }
    void mouse(QWidget *to, QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::LeftButton)
    {
        QMouseEvent event(type, at, to->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(to, &event);
    }
};

}  // namespace

class TestRecordGrid : public QObject {
    Q_OBJECT
private slots:
    void modelBehavesAsAModel();
    void clickReportsOnceAndKeepsThePressedCell();
    void doubleClickIsOneClick();
    void pressOutsideTheEntriesMovesNothing_data();
    void pressOutsideTheEntriesMovesNothing();
    void typingDoesNotSearch_data();
    void typingDoesNotSearch();
    void keysMoveOrAct_data();
    void keysMoveOrAct();
    void headingStaysInViewWhileEntriesScroll();
    void lineBreaksShowAsAMark_data();
    void lineBreaksShowAsAMark();
};

void TestRecordGrid::modelBehavesAsAModel()
{
    GridModel model(3);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRowCount(4);
    model.setRow(0, {"a", "b", "c"});
    model.setCell(1, 2, "x");
    model.appendRows({{"1", "2"}, {"3", "4", "5", "6"}});
    QCOMPARE(model.row(4), QStringList({"1", "2", ""}));
    QCOMPARE(model.row(5), QStringList({"3", "4", "5"}));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("b"));
    model.removeRowAt(2);
    QCOMPARE(model.cell(1, 2), QString());
    model.setRowCount(1);
    QCOMPARE(model.rowCount(), 1);
}

void TestRecordGrid::clickReportsOnceAndKeepsThePressedCell()
{
    Grid g;
    QWidget *vp = g.grid.viewport();
    // Pressed on row 2, dragged to row 3, released there: row 2 was clicked.
    g.mouse(vp, QEvent::MouseButtonPress, g.cell(3, 2));
    g.mouse(vp, QEvent::MouseMove, g.cell(3, 3));
    g.mouse(vp, QEvent::MouseButtonRelease, g.cell(3, 3), Qt::NoButton);
    QCOMPARE(g.clicks.count(), 1);
    QCOMPARE(g.current(), QPoint(3, 2));
}

void TestRecordGrid::doubleClickIsOneClick()
{
    Grid g;
    // A click removes the row, as one in the "删除" column does.
    QObject::connect(&g.grid, &RecordGrid::gridClicked, [&] { g.grid.removeGridRow(g.grid.currentRow()); });
    // As the window system delivers one.
    QWidget *vp = g.grid.viewport();
    g.mouse(vp, QEvent::MouseButtonPress, g.cell(3, 1));
    g.mouse(vp, QEvent::MouseButtonRelease, g.cell(3, 1), Qt::NoButton);
    g.mouse(vp, QEvent::MouseButtonDblClick, g.cell(3, 1));
    g.mouse(vp, QEvent::MouseButtonRelease, g.cell(3, 1), Qt::NoButton);
    QCOMPARE(g.clicks.count(), 1);
    QCOMPARE(g.grid.rowCount(), 3);
}

void TestRecordGrid::pressOutsideTheEntriesMovesNothing_data()
{
    QTest::addColumn<bool>("onHeading");
    QTest::newRow("on the heading row") << true;
    QTest::newRow("below the last row") << false;
}

// Whatever follows such a press (a drag across the entries, a release on one)
// leaves the current cell where it was and reports nothing.
void TestRecordGrid::pressOutsideTheEntriesMovesNothing()
{
    QFETCH(bool, onHeading);
    Grid g(2);
    g.grid.setCurrentCell(0, 1);
    QWidget *vp = g.grid.viewport();
    // The heading takes the press and keeps the mouse until the release; the
    // empty area below the rows is part of the grid itself.
    QWidget *pressedOn = onHeading ? static_cast<QWidget *>(g.grid.horizontalHeader()) : vp;
    const QPoint start = onHeading ? QPoint(g.grid.columnViewportPosition(3) + 5, 5) : QPoint(5, vp->height() - 3);
    auto into = [&](QPoint cell) { return pressedOn->mapFromGlobal(vp->mapToGlobal(cell)); };
    g.mouse(pressedOn, QEvent::MouseButtonPress, start);
    g.mouse(pressedOn, QEvent::MouseMove, into(g.cell(3, 1)));
    g.mouse(pressedOn, QEvent::MouseMove, into(g.cell(3, 2)));
    g.mouse(pressedOn, QEvent::MouseButtonRelease, into(g.cell(3, 2)), Qt::NoButton);
    QCOMPARE(g.clicks.count(), 0);
    QCOMPARE(g.current(), QPoint(0, 1));
}

void TestRecordGrid::typingDoesNotSearch_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    // Each the start of the cell below the current one.
    QTest::newRow("letter") << 0 << "单";
    QTest::newRow("digit") << 1 << "2";
    QTest::newRow("the delete column") << 3 << "删";
}

void TestRecordGrid::typingDoesNotSearch()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    Grid g;
    g.grid.setCurrentCell(column, 1);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
    QApplication::sendEvent(&g.grid, &press);
    QCOMPARE(g.current(), QPoint(column, 1));
    QCOMPARE(g.clicks.count(), 0);
}

void TestRecordGrid::keysMoveOrAct_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<QPoint>("moved");  // from (1, 2), or unmoved
    QTest::addColumn<int>("clicks");
    const int none = Qt::NoModifier;
    // Moving never counts as a click, not even onto an action column.
    QTest::newRow("right") << int(Qt::Key_Right) << none << false << QPoint(2, 2) << 0;
    QTest::newRow("left") << int(Qt::Key_Left) << none << false << QPoint(0, 2) << 0;
    QTest::newRow("down") << int(Qt::Key_Down) << none << false << QPoint(1, 3) << 0;
    QTest::newRow("up") << int(Qt::Key_Up) << none << false << QPoint(1, 1) << 0;
    QTest::newRow("up stays below the heading") << int(Qt::Key_PageUp) << none << false << QPoint(1, 1) << 0;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << none << false << QPoint(1, 3) << 0;
    QTest::newRow("home") << int(Qt::Key_Home) << none << false << QPoint(0, 2) << 0;
    QTest::newRow("end") << int(Qt::Key_End) << none << false << QPoint(3, 2) << 0;
    QTest::newRow("ctrl+end") << int(Qt::Key_End) << int(Qt::ControlModifier) << false << QPoint(3, 3) << 0;
    // Enter or Space acts on the current cell, once however long it is held.
    QTest::newRow("enter") << int(Qt::Key_Return) << none << false << QPoint(1, 2) << 1;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << QPoint(1, 2) << 1;
    QTest::newRow("space") << int(Qt::Key_Space) << none << false << QPoint(1, 2) << 1;
    QTest::newRow("enter held") << int(Qt::Key_Return) << none << true << QPoint(1, 2) << 0;
    QTest::newRow("ctrl+space") << int(Qt::Key_Space) << int(Qt::ControlModifier) << false << QPoint(1, 2) << 0;
}

void TestRecordGrid::keysMoveOrAct()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, autoRepeat);
    QFETCH(QPoint, moved);
    QFETCH(int, clicks);
    Grid g;
    g.grid.setCurrentCell(1, 2);
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), autoRepeat);
    QApplication::sendEvent(&g.grid, &press);
    QCOMPARE(g.current(), moved);
    QCOMPARE(g.clicks.count(), clicks);
}

void TestRecordGrid::headingStaysInViewWhileEntriesScroll()
{
    Grid g(40);
    QHeaderView *heading = g.grid.horizontalHeader();
    g.grid.verticalScrollBar()->setValue(g.grid.verticalScrollBar()->maximum());
    QVERIFY(g.grid.verticalScrollBar()->value() > 0);
    QVERIFY(heading->isVisible());
    QVERIFY(heading->geometry().bottom() < g.grid.viewport()->geometry().top());
    for (int c = 0; c < Headings.size(); ++c)
        QCOMPARE(heading->model()->headerData(c, Qt::Horizontal).toString(), Headings[c]);
    // The heading is painted: dark text on the light section.
    const QImage image = heading->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < heading->sectionSize(0); ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    QVERIFY(dark > 20);
    // Cut back to the heading alone, the row is ordinary again.
    g.grid.setRowCount(1);
    QCOMPARE(g.grid.fixedRows(), 0);
    QVERIFY(!heading->isVisible());
    QVERIFY(!g.grid.isRowHidden(0));
}

void TestRecordGrid::lineBreaksShowAsAMark_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::newRow("LF") << "第一行\n第二行";
    QTest::newRow("CR LF") << "第一行\r\n第二行";
    QTest::newRow("CR") << "第一行\r第二行";
    QTest::newRow("line separator") << QString("第一行") + QChar(QChar::LineSeparator) + "第二行";
    // clang-format on
}

void TestRecordGrid::lineBreaksShowAsAMark()
{
    QFETCH(QString, text);
    RecordGrid grid(2);
    auto *delegate = qobject_cast<QStyledItemDelegate *>(grid.itemDelegate());
    QVERIFY(delegate);
    QCOMPARE(delegate->displayText(text, QLocale()), QString("第一行 ↵ 第二行"));
}

QTEST_MAIN(TestRecordGrid)
#include "tst_recordgrid.moc"
