#include "deskexport.h"

#include "document/listdefs.h"
#include "xml/safewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <stdexcept>
#include <xlsxwriter.h>

namespace varnok {

namespace {

constexpr int FirstCount = 5;  // the lists' columns
constexpr int ResultColumn = FirstCount + ListCount;
constexpr int ProblemColumn = ResultColumn + 1;

// RFC 4180: a field holding a separator, a quote or a line break is quoted,
// its quotes doubled. A value that a spreadsheet would take for a formula
// (a hostile file's name "=HYPERLINK(...)") is kept as text by a leading
// apostrophe.
QString csvField(QString value)
{
    if (!value.isEmpty() && QStringView(u"=+-@").contains(value.front()))
        value.prepend(u'\'');
    if (value.contains(u',') || value.contains(u'"') || value.contains(u'\n') || value.contains(u'\r'))
        return u'"' + value.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return value;
}

[[noreturn]] void fail(const QString &path, const QString &why)
{
    throw std::runtime_error(
        QStringLiteral("无法导出Excel文件“%1”：%2").arg(QDir::toNativeSeparators(path), why).toStdString());
}

void check(lxw_error error, const QString &path)
{
    if (error != LXW_NO_ERROR)
        fail(path, QString::fromUtf8(lxw_strerror(error)));
}

// libxlsxwriter opens files with the C library, in the system's code page on
// Windows: the name must survive that conversion.
QByteArray cFileName(const QString &path)
{
    const QByteArray name = QFile::encodeName(QDir::toNativeSeparators(path));
    if (QFile::decodeName(name) != QDir::toNativeSeparators(path))
        fail(path, QStringLiteral("临时文件夹“%1”的名称无法交给 Excel 文件的写入程序").arg(QDir::tempPath()));
    return name;
}

// A table never takes the place of a declaration it lists.
void refuseDeclaration(const QString &table, const std::vector<DeskRow> &rows)
{
    const QString target = QFileInfo(table).canonicalFilePath();
    if (target.isEmpty())
        return;
    for (const DeskRow &row : rows)
        if (QFileInfo(row.check.path).canonicalFilePath() == target)
            throw std::runtime_error(QStringLiteral("“%1”是被检查的申报文件，结果表不能保存在它上面。")
                                         .arg(QDir::toNativeSeparators(table))
                                         .toStdString());
}

// Excel holds at most this much text in a cell.
QByteArray cellText(const QString &text) { return text.left(32767).toUtf8(); }

}  // namespace

const QStringList &deskHeadings()
{
    static const QStringList headings = [] {
        QStringList h{QStringLiteral("文件"), QStringLiteral("姓名"), QStringLiteral("证件号码"),
                      QStringLiteral("现任专业技术职务"), QStringLiteral("学历")};
        for (const RecordListDef &def : recordListDefs())
            h << def.tabCaption;
        h << QStringLiteral("结果") << QStringLiteral("问题");
        return h;
    }();
    return headings;
}

QStringList deskCells(const DeskRow &row)
{
    const FileCheck &c = row.check;
    QStringList cells{row.shown, c.name, c.idNumber, c.title, c.education};
    for (int l = 0; l < ListCount; ++l)
        cells << (c.readable() ? QString::number(c.entries[size_t(l)]) : QString());
    cells << row.verdict() << row.problemLines().join(u'；');
    return cells;
}

QByteArray deskCsv(const std::vector<DeskRow> &rows)
{
    QString text;
    auto line = [&](const QStringList &cells) {
        QStringList fields;
        for (const QString &cell : cells)
            fields << csvField(cell);
        text += fields.join(u',') + QStringLiteral("\r\n");
    };
    line(deskHeadings());
    for (const DeskRow &row : rows)
        line(deskCells(row));
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void writeDeskCsv(const QString &path, const std::vector<DeskRow> &rows)
{
    refuseDeclaration(path, rows);
    writeFileSafely(path, deskCsv(rows));
}

void writeDeskWorkbook(const QString &path, const std::vector<DeskRow> &rows)
{
    refuseDeclaration(path, rows);
    // Written into the temporary folder, then put in place whole.
    QTemporaryFile scratch(QDir::tempPath() + QStringLiteral("/varnok-XXXXXX.xlsx"));
    if (!scratch.open())
        fail(path, scratch.errorString());
    scratch.close();
    const QByteArray scratchName = cFileName(scratch.fileName());
    QByteArray tmpdir = cFileName(QDir::tempPath());
    // Its own temporary files go there too, not into the working folder,
    // which on Windows may be a folder the user cannot write to.
    lxw_workbook_options options{};
    options.tmpdir = tmpdir.data();
    lxw_workbook *book = workbook_new_opt(scratchName.constData(), &options);
    if (!book)
        fail(path, QStringLiteral("内存不足"));
    // A failure on the way leaves nothing behind.
    auto release = qScopeGuard([&book] {
        if (book)
            lxw_workbook_free(book);
    });
    lxw_worksheet *sheet = workbook_add_worksheet(book, "批量检查");

    lxw_format *heading = workbook_add_format(book);
    format_set_bold(heading);
    format_set_bg_color(heading, 0xD9D9D9);
    format_set_border(heading, LXW_BORDER_THIN);
    format_set_text_wrap(heading);
    format_set_align(heading, LXW_ALIGN_VERTICAL_CENTER);
    // Per kind of row (passed, with problems, unreadable), a text and a
    // centred number: problems in light red, unreadable in grey.
    lxw_format *text[3], *number[3];
    for (int kind = 0; kind < 3; ++kind)
        for (lxw_format **f : {&text[kind], &number[kind]}) {
            *f = workbook_add_format(book);
            format_set_text_wrap(*f);
            format_set_align(*f, LXW_ALIGN_VERTICAL_TOP);
            if (f == &number[kind])
                format_set_align(*f, LXW_ALIGN_CENTER);
            if (kind == 1)
                format_set_bg_color(*f, 0xFFD7D7);
            if (kind == 2) {
                format_set_bg_color(*f, 0xE0E0E0);
                format_set_font_color(*f, 0x7F0000);
            }
        }

    const double widths[] = {28, 10, 21, 16, 14, 9, 9, 9, 9, 8, 80};
    for (lxw_col_t c = 0; c < lxw_col_t(std::size(widths)); ++c)
        worksheet_set_column(sheet, c, c, widths[c], nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
    // Printed from Excel: A4 landscape, one page wide, the headings on every page.
    worksheet_set_paper(sheet, 9);
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_repeat_rows(sheet, 0, 0);
    worksheet_gridlines(sheet, LXW_SHOW_ALL_GRIDLINES);

    const QStringList &headings = deskHeadings();
    for (int c = 0; c < headings.size(); ++c)
        check(worksheet_write_string(sheet, 0, lxw_col_t(c), cellText(headings[c]).constData(), heading), path);
    for (size_t r = 0; r < rows.size(); ++r) {
        const DeskRow &row = rows[r];
        const lxw_row_t at = lxw_row_t(r + 1);
        const int kind = !row.check.readable() ? 2 : row.check.problems.empty() ? 0 : 1;
        const QStringList cells = deskCells(row);
        for (int c = 0; c < cells.size(); ++c) {
            const bool count = (c >= FirstCount && c < ResultColumn && row.check.readable()) ||
                               (c == ResultColumn && row.check.readable() && !row.check.problems.empty());
            const lxw_col_t col = lxw_col_t(c);
            if (count)
                check(worksheet_write_number(sheet, at, col, cells[c].toDouble(), number[kind]), path);
            else
                check(worksheet_write_string(sheet, at, col, cellText(cells[c]).constData(),
                                             c == ResultColumn ? number[kind] : text[kind]),
                      path);
        }
    }
    if (!rows.empty())
        worksheet_autofilter(sheet, 0, 0, lxw_row_t(rows.size()), lxw_col_t(headings.size() - 1));
    const lxw_error closed = workbook_close(book);  // which frees it
    book = nullptr;
    if (closed != LXW_NO_ERROR)
        fail(path, QString::fromUtf8(lxw_strerror(closed)));

    QFile written(scratch.fileName());
    if (!written.open(QIODevice::ReadOnly))
        fail(path, written.errorString());
    const QByteArray bytes = written.readAll();
    written.close();
    writeFileSafely(path, bytes);
}

}  // namespace varnok
