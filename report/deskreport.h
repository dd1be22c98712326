// The printable table of the desk: the title, the date and the counts, and
// one row per file under the exports' headings, the rows with problems
// shaded; A4 landscape.
#pragma once

#include "desk/deskcheck.h"

#include <QPageLayout>
#include <memory>
#include <vector>

class QTextDocument;

namespace varnok {

inline const QString DeskReportTitle = QStringLiteral("申报资料批量检查结果");

QPageLayout deskPageLayout();

std::unique_ptr<QTextDocument> buildDeskReport(const std::vector<DeskRow> &rows, const QDate &day);

}  // namespace varnok
