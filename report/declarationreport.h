// The printable declaration, built from the window's values: the title, the
// first tab as a two-column table group by group, a table for each record
// list that has entries (its header row repeated on every page it spans),
// and the lines for the applicant's signature and the date.
#pragma once

#include "document/layout.h"

#include <QFont>
#include <QTextFormat>
#include <array>
#include <memory>

class QTextDocument;

namespace varnok {

inline const QString ReportTitle = QStringLiteral("初始注册申报表");
inline const QString SignatureCaption = QStringLiteral("申请人签名：");
inline const QString SignatureDateCaption = QStringLiteral("日期：");

// A Chinese font of this size in points, with fallbacks for other systems.
QFont reportFont(qreal points);
QTextCharFormat reportCharFormat(qreal points, bool bold = false);
// A table across the whole width, its borders collapsed into lines of this
// width in points, its columns in percent of the width.
QTextTableFormat reportTableFormat(qreal line, qreal padding, const QList<qreal> &percentages);

// Values as the window shows them: drop-down lists as their texts, masked
// fields as typed, dates as "yyyy-MM-dd". Sizes are in points, so the
// document lays out alike on any paint device.
std::unique_ptr<QTextDocument> buildDeclarationReport(const FieldValues &basic,
                                                      const std::array<ListRows, ListCount> &lists);

// "<name>申报表.pdf", with characters that a file name cannot hold replaced.
QString proposedPdfName(const QString &applicantName);

}  // namespace varnok
