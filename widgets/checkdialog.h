// The report of "检查": one line per problem with its tab, field and what is
// wrong. Double-clicking a line (or "转到" on the current one) closes the
// dialog and tells which line was chosen.
#pragma once

#include "widgets/prompts.h"

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace varnok {

class CheckDialog : public QDialog {
    Q_OBJECT
public:
    CheckDialog(const QList<ReportLine> &lines, QWidget *parent = nullptr);

    QTreeWidget *lines() const { return lines_; }
    // The line chosen, -1 when the dialog was closed without a choice.
    int chosen() const { return chosen_; }

private:
    void choose(QTreeWidgetItem *item);

    QTreeWidget *lines_ = nullptr;
    int chosen_ = -1;
};

}  // namespace varnok
