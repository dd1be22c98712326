#include "declarationreport.h"

#include "document/basicfields.h"
#include "lists/listplacement.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace varnok {

namespace {

constexpr qreal TextPoints = 9.5;
constexpr qreal LineWidth = 0.75;
const QColor HeadingShade(230, 230, 230);

QTextTableFormat tableFormat(const QList<qreal> &percentages) { return reportTableFormat(LineWidth, 3, percentages); }

void writeCell(QTextTable *table, int row, int column, const QString &text, bool heading = false)
{
    QTextTableCell cell = table->cellAt(row, column);
    // Collapsed borders are drawn from the cells' own borders.
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    format.setBorder(LineWidth);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::black);
    if (heading)
        format.setBackground(HeadingShade);
    cell.setFormat(format);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.insertText(text, reportCharFormat(TextPoints, heading));
}

void paragraph(QTextCursor &cursor, const QString &text, const QTextCharFormat &format, Qt::Alignment align,
               qreal spaceAbove, qreal spaceBelow)
{
    QTextBlockFormat block;
    block.setAlignment(align);
    block.setTopMargin(spaceAbove);
    block.setBottomMargin(spaceBelow);
    cursor.insertBlock(block, format);
    cursor.insertText(text, format);
}

void writeBasicTable(QTextCursor &cursor, const FieldValues &basic)
{
    const int rows = int(basicGroupCaptions().size() + basicFields().size());
    QTextTable *table = cursor.insertTable(rows, 2, tableFormat({28, 72}));
    int row = 0;
    int group = -1;
    for (const BasicField &field : basicFields()) {
        if (field.group != group) {
            group = field.group;
            table->mergeCells(row, 0, 1, 2);
            writeCell(table, row++, 0, basicGroupCaptions()[group], true);
        }
        writeCell(table, row, 0, field.words);
        writeCell(table, row++, 1, basic.value(field.control));
    }
    cursor.movePosition(QTextCursor::End);
}

// Dates, drop-down lists and numbers get what their texts need; the other
// columns share the rest as the grid on the tab does.
QList<qreal> columnPercentages(const RecordListDef &def)
{
    const ListPlacement &place = listPlacement(def.id);
    qreal fixed = 0, shared = 0;
    QList<qreal> widths;
    for (size_t i = 0; i < def.fields.size(); ++i) {
        const FieldKind kind = def.fields[i].kind;
        const qreal w = kind == FieldKind::Date ? 12 : kind == FieldKind::Combo ? 11 : kind == FieldKind::Mask ? 7 : 0;
        widths << w;
        fixed += w;
        if (w == 0)
            shared += place.fields[i].columnWidth;
    }
    for (size_t i = 0; i < def.fields.size(); ++i)
        if (widths[qsizetype(i)] == 0)
            widths[qsizetype(i)] = (100 - fixed) * place.fields[i].columnWidth / shared;
    return widths;
}

void writeListTable(QTextCursor &cursor, const RecordListDef &def, const ListRows &rows)
{
    paragraph(cursor, def.tabCaption, reportCharFormat(12, true), Qt::AlignLeft, 14, 4);
    QTextTableFormat format = tableFormat(columnPercentages(def));
    format.setHeaderRowCount(1);
    QTextTable *table = cursor.insertTable(int(rows.size()) + 1, int(def.fields.size()), format);
    for (int c = 0; c < int(def.fields.size()); ++c)
        writeCell(table, 0, c, def.fields[size_t(c)].header, true);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < int(def.fields.size()); ++c)
            writeCell(table, r + 1, c, rows[r].value(c));
    cursor.movePosition(QTextCursor::End);
}

}  // namespace

QFont reportFont(qreal points)
{
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
    font.setPointSizeF(points);
    return font;
}

QTextCharFormat reportCharFormat(qreal points, bool bold)
{
    QTextCharFormat format;
    QFont font = reportFont(points);
    font.setBold(bold);
    format.setFont(font);
    return format;
}

QTextTableFormat reportTableFormat(qreal line, qreal padding, const QList<qreal> &percentages)
{
    QTextTableFormat format;
    format.setBorder(line);
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(padding);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> widths;
    for (qreal p : percentages)
        widths << QTextLength(QTextLength::PercentageLength, p);
    format.setColumnWidthConstraints(widths);
    return format;
}

std::unique_ptr<QTextDocument> buildDeclarationReport(const FieldValues &basic,
                                                      const std::array<ListRows, ListCount> &lists)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(reportFont(TextPoints));
    doc->setDocumentMargin(0);
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    doc->setMetaInformation(QTextDocument::DocumentTitle, ReportTitle);

    QTextCursor cursor(doc.get());
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    title.setBottomMargin(12);
    cursor.setBlockFormat(title);
    cursor.insertText(ReportTitle, reportCharFormat(18, true));
    cursor.insertBlock(QTextBlockFormat(), reportCharFormat(TextPoints));

    writeBasicTable(cursor, basic);
    for (const RecordListDef &def : recordListDefs())
        if (!lists[size_t(def.id)].isEmpty())
            writeListTable(cursor, def, lists[size_t(def.id)]);

    const QString line(14, u'＿');
    paragraph(cursor, SignatureCaption + line + QStringLiteral("　　　　") + SignatureDateCaption + line,
              reportCharFormat(11), Qt::AlignLeft, 36, 0);
    return doc;
}

QString proposedPdfName(const QString &applicantName)
{
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = applicantName.trimmed();
    name.replace(unfit, QStringLiteral("_"));
    return name + QStringLiteral("申报表.pdf");
}

}  // namespace varnok
