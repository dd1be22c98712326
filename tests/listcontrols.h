// A record list of the main window, reached through its controls' names.
#pragma once

#include "document/layout.h"
#include "widgets/fields.h"
#include "widgets/recordgrid.h"

#include <QPushButton>
#include <QWidget>

// A record list of the window, reached through its controls' names.
struct ListControls {
    const QWidget *window;
    varnok::ListId id;

    const varnok::RecordListDef &def() const { return varnok::recordListDef(id); }
    template <typename T = QWidget>
    T *named(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    varnok::RecordGrid *grid() const { return named<varnok::RecordGrid>(def().grid); }
    QPushButton *addButton() const { return named<QPushButton>(def().addButton); }
    QPushButton *saveButton() const { return named<QPushButton>(def().saveButton); }
    QWidget *field(int index) const { return named(def().fields[size_t(index)].control); }
    QWidget *field(const QString &name) const { return named(name); }
    QStringList entryValues() const
    {
        QStringList values;
        for (size_t i = 0; i < def().fields.size(); ++i)
            values << varnok::controlValue(field(int(i)));
        return values;
    }
    varnok::ListRows rows() const
    {
        varnok::ListRows out;
        for (int r = 1; r < grid()->rowCount(); ++r)
            out << grid()->rowCells(r).mid(0, int(def().fields.size()));
        return out;
    }
    int entryCount() const { return grid()->rowCount() - 1; }
    bool inEditMode() const { return addButton()->text() == varnok::CommitCaption; }
};
