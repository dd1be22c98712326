// Laying the printable declaration out on pages: A4 portrait, the page
// footer "第 N 页 共 M 页", and the PDF copy.
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace varnok {

// A4 portrait with the margins the declaration prints with.
QPageLayout reportPageLayout();

// "第 N 页 共 M 页".
QString pageFooter(int page, int pageCount);

// Lay a copy of the report out on the device's page and paint pages first to
// last (1-based; 0 for the first or last page), each with its footer.
// Returns the number of pages the report takes.
int paintReport(const QTextDocument &report, QPagedPaintDevice &device, int first = 0, int last = 0);

// The report as a PDF (A4 portrait unless told) whose text can be searched
// and copied.
QByteArray reportPdf(const QTextDocument &report, const QString &title, const QPageLayout &layout = reportPageLayout());

}  // namespace varnok
