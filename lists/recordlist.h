// One record list on its tab: entry fields, the add button (its caption is
// the mode: "增加" adds, "保存修改" commits an edit), the grid, and the list
// save. The four lists are this class with four definitions.
#pragma once

#include "rules/listdefs.h"

#include <QObject>
#include <vector>

class QPushButton;
class QWidget;

namespace varnok {

class Prompts;
class RecordGrid;
class XmlDocument;

// What a list needs from the window that holds it.
class ListHost {
public:
    virtual ~ListHost() = default;
    virtual Prompts &prompts() = 0;
    virtual QWidget *dialogParent() = 0;
    virtual QString currentDocumentPath() const = 0;
    virtual QString applicantName() const = 0;
    // Bring the first tab to the front with the focus on the name.
    virtual void showApplicantName() = 0;
    virtual XmlDocument &document() = 0;
    virtual void showSavedPath() = 0;
    virtual QString newRecordId() = 0;
};

class RecordList : public QObject {
    Q_OBJECT
public:
    RecordList(const RecordListDef &def, QWidget *tabPage, ListHost &host);

    const RecordListDef &def() const { return def_; }
    RecordGrid *grid() const { return grid_; }
    QPushButton *addButton() const { return addButton_; }
    QPushButton *saveButton() const { return saveButton_; }
    QWidget *field(int index) const { return fields_[size_t(index)]; }
    QWidget *field(const QString &name) const;

    bool inEditMode() const;
    int entryCount() const;
    // The entry rows, field columns only.
    ListRows rows() const;
    QStringList entryValues() const;

    void addOrCommit();  // the add button
    void gridClick();    // a click reported by the grid
    bool save();         // the list's "保存"; whether it wrote the file

    void writeHeadings();
    void clearEntryFields();
    // Fields cleared and the grid cut back to its heading row.
    void clearAll();
    // Append entry rows read from a document (with the action cells).
    void appendEntries(const ListRows &rows);

private:
    void loadRowIntoFields(int row);

    const RecordListDef &def_;
    ListHost &host_;
    std::vector<QWidget *> fields_;
    RecordGrid *grid_ = nullptr;
    QPushButton *addButton_ = nullptr;
    QPushButton *saveButton_ = nullptr;
};

}  // namespace varnok
