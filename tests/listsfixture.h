// The record lists as a user works them (entries typed and added, grid cells
// clicked, keys pressed) and what their saves leave in the file: the steps and
// sample entries the list tests share.
#pragma once

#include "formfixture.h"
#include "testfiles.h"

#include "document/layout.h"
#include "xml/xmldocument.h"

#include <QHeaderView>
#include <QTemporaryDir>

namespace lists {

using namespace varnok;

using Handler = void (TForm1::*)();
inline const Handler saveHandlers[ListCount] = {&TForm1::Button16Click, &TForm1::Button18Click, &TForm1::Button11Click,
                                                &TForm1::Button3Click};

inline const QString DateMessage = "起始时间和结束时间不能相同且起始时间不得大于结束时间！";

// Entry n of a list, as its fields take it and its grid shows it.
inline QStringList sample(ListId list, int n)
{
    const QString k = QString::number(n);
    const QString year = QString::number(2000 + n);
    switch (list) {
    case WorkHistory:
        return {"单位" + k, year + "-01-01", year + "-06-30", "备注" + k};
    case Achievements:
        return {"项目" + k, year + "-01-01", year + "-06-30", "作用" + k, "效果" + k};
    case ContinuingEducation:
        return {"机构" + k, n % 2 ? "选修课" : "必修课", year + "-03-04", k.leftJustified(3, ' '), "内容" + k};
    case CreditRecord:
        return {year + "-05-06", "部门" + k, n % 2 ? "奖励" : "处罚", "原因" + k, "结果" + k};
    default:
        return {};
    }
}

// The same entry as the document stores it: dictionary columns as codes.
inline QStringList stored(ListId list, QStringList values)
{
    static const QMap<QString, QString> codes{{"选修课", "1"}, {"必修课", "2"}, {"奖励", "0"}, {"处罚", "1"}};
    const int coded = list == ContinuingEducation ? 1 : list == CreditRecord ? 2 : -1;
    if (coded >= 0)
        values[coded] = codes.value(values[coded]);
    return values;
}

inline QStringList withActions(QStringList values)
{
    return values << "编辑"
                  << "删除";
}

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

    // Bound to a new file by a first save.
    QString bind(const QTemporaryDir &dir, const QString &name = "a.xml") const
    {
        const QString path = dir.filePath(name);
        f.bindTo(path);
        return path;
    }
};

inline XmlDocument load(const QString &path)
{
    XmlDocument doc;
    doc.loadFromFile(path);
    return doc;
}

inline QStringList childNames(const XmlElement &e)
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

inline QStringList elementNames(const RecordListDef &list)
{
    QStringList names;
    for (const ListField &field : list.fields)
        names << field.element;
    return names;
}

inline Section readSection(const XmlElement &section, const RecordListDef &layout)
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
inline ListRows savedRows(const QString &path, ListId id)
{
    const XmlDocument doc = load(path);
    const RecordListDef &layout = recordListDef(id);
    return readSection(doc.documentElement().firstChild(layout.section), layout).rows;
}

inline QStringList sections(const QString &path) { return childNames(load(path).documentElement()); }

inline bool hasFocus(QWidget *w) { return w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()); }

}  // namespace lists
