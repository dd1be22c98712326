#include "deskreport.h"

#include "desk/deskexport.h"
#include "document/values.h"
#include "report/declarationreport.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace varnok {

namespace {

constexpr qreal TextPoints = 8;
const QColor HeadingShade(230, 230, 230);
const QColor ProblemShade(255, 228, 228);
const QColor UnreadableShade(236, 236, 236);

void writeCell(QTextTable *table, int row, int column, const QString &text, const QColor &shade, bool bold)
{
    QTextTableCell cell = table->cellAt(row, column);
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::black);
    if (shade.isValid())
        format.setBackground(shade);
    cell.setFormat(format);
    cell.firstCursorPosition().insertText(text, reportCharFormat(TextPoints, bold));
}

}  // namespace

QPageLayout deskPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 10),
                       QPageLayout::Millimeter);
}

std::unique_ptr<QTextDocument> buildDeskReport(const std::vector<DeskRow> &rows, const QDate &day)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(reportFont(TextPoints));
    doc->setDocumentMargin(0);
    QTextCursor cursor(doc.get());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setBottomMargin(4);
    cursor.setBlockFormat(centred);
    cursor.insertText(DeskReportTitle, reportCharFormat(14, true));
    QTextBlockFormat plain;
    plain.setBottomMargin(6);
    cursor.insertBlock(plain);
    cursor.insertText(QStringLiteral("检查日期：%1　　%2").arg(formatDate(day), deskSummary(rows)),
                      reportCharFormat(9));

    const QStringList &headings = deskHeadings();
    QTextTableFormat format = reportTableFormat(0.5, 2, {14, 5, 11, 7, 7, 4, 4, 4, 4, 4, 36});
    format.setHeaderRowCount(1);
    cursor.insertBlock();
    QTextTable *table = cursor.insertTable(int(rows.size()) + 1, int(headings.size()), format);
    for (int c = 0; c < headings.size(); ++c)
        writeCell(table, 0, c, headings[c], HeadingShade, true);
    for (size_t r = 0; r < rows.size(); ++r) {
        const DeskRow &row = rows[r];
        const QColor shade = !row.check.readable()        ? UnreadableShade
                             : row.check.problems.empty() ? QColor()
                                                          : ProblemShade;
        const QStringList cells = deskCells(row);
        for (int c = 0; c < cells.size(); ++c) {
            // One problem a line.
            const QString text = c == cells.size() - 1 ? row.problemLines().join(u'\n') : cells[c];
            writeCell(table, int(r) + 1, c, text, shade, false);
        }
    }
    return doc;
}

}  // namespace varnok
