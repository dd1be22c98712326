// The desk's table for the programs a clerk works with: a CSV file (UTF-8
// with a byte-order mark, so that Excel on a Chinese Windows reads the
// Chinese) and an Excel workbook (libxlsxwriter): heading row frozen, column
// widths set, the rows with problems marked. Both are written whole or not
// at all (writeFileSafely), never over one of the declarations listed; a
// failure throws with a message naming the file.
#pragma once

#include "desk/deskcheck.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace varnok {

// 文件, 姓名, 证件号码, 现任专业技术职务, 学历, the four lists, 结果, 问题.
const QStringList &deskHeadings();
// A row's cells under those headings; problems joined by "；".
QStringList deskCells(const DeskRow &row);

QByteArray deskCsv(const std::vector<DeskRow> &rows);
void writeDeskCsv(const QString &path, const std::vector<DeskRow> &rows);
void writeDeskWorkbook(const QString &path, const std::vector<DeskRow> &rows);

}  // namespace varnok
