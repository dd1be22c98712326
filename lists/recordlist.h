// One record list on its tab: entry fields, the add button ("增加" adds, or
// "保存修改" while an entry is being edited), the grid, and the list's "保存"
// button. The last entry removed can be put back until the list is saved or
// the window emptied. The four lists are this class with four definitions
// (document/listdefs.h) and four placements (lists/listplacement.h). Saving
// the list is the window's: it holds the file.
#pragma once

#include "declaration/recoverycopy.h"
#include "document/layout.h"

#include <QObject>
#include <QStringList>
#include <optional>
#include <vector>

class QPushButton;
class QWidget;

namespace varnok {

class Prompts;
class RecordGrid;

class RecordList : public QObject {
    Q_OBJECT
public:
    RecordList(ListId id, QWidget *tabPage, Prompts &prompts, QWidget *dialogParent);

    const RecordListDef &def() const { return def_; }
    RecordGrid *grid() const { return grid_; }
    QPushButton *addButton() const { return addButton_; }
    QPushButton *saveButton() const { return saveButton_; }
    QWidget *field(int index) const { return fields_[size_t(index)]; }

    // An entry is being edited: the add button commits it.
    bool inEditMode() const { return editing_; }
    int entryCount() const;
    // The entry rows, field columns only.
    ListRows rows() const;
    QStringList entryValues() const;

    void addOrCommit();  // the add button
    void gridClick();    // a click reported by the grid

    // The entry removed last can be put back where it was.
    bool canUndoRemove() const { return removed_.has_value(); }
    void undoRemove();
    // Saved or replaced: what was removed is gone for good.
    void forgetRemoved();

    // As the window is created: the drop-down lists filled, the dates today,
    // the headings in row 0.
    void start(const QDate &today);
    void clearEntryFields();
    // Fields cleared and the grid cut back to its heading row.
    void clearAll();
    // Append entry rows read from a document (with the action cells).
    void appendEntries(const ListRows &rows);

    // The entry fields, the mode and, while editing, the grid's current row.
    EntryState entryState() const;
    // Put them back over rows already in the grid; dates must be valid.
    void restoreEntry(const EntryState &entry);

signals:
    // Whether an entry can be put back has changed.
    void undoAvailableChanged(bool available);

private:
    void loadRowIntoFields(int row);
    void setEditing(bool editing);

    struct Removed {
        int row;
        QStringList cells;
    };

    const RecordListDef &def_;
    Prompts &prompts_;
    QWidget *dialogParent_;
    std::vector<QWidget *> fields_;
    RecordGrid *grid_ = nullptr;
    QPushButton *addButton_ = nullptr;
    QPushButton *saveButton_ = nullptr;
    bool editing_ = false;
    std::optional<Removed> removed_;
};

}  // namespace varnok
