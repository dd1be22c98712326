#include "reportpages.h"

#include "report/declarationreport.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <memory>
#include <stdexcept>

namespace varnok {

namespace {

constexpr qreal FooterMillimetres = 9;

std::unique_ptr<QTextDocument> laidOut(const QTextDocument &doc, QPaintDevice &device, QSizeF page)
{
    std::unique_ptr<QTextDocument> copy(doc.clone());
    copy->documentLayout()->setPaintDevice(&device);
    copy->setPageSize(page);
    copy->pageCount();  // the whole layout, not only what was asked for so far
    return copy;
}

// Positions where a paragraph runs on to a new page: the start of its first
// line there.
QList<int> pageBreaksInParagraphs(const QTextDocument &doc)
{
    const qreal pageHeight = doc.pageSize().height();
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    QList<int> breaks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *lines = block.layout();
        if (lines->lineCount() < 2)
            continue;
        const qreal top = layout->blockBoundingRect(block).top() - lines->boundingRect().top();
        int page = int((top + lines->lineAt(0).y()) / pageHeight);
        for (int i = 1; i < lines->lineCount(); ++i) {
            const int linePage = int((top + lines->lineAt(i).y()) / pageHeight);
            if (linePage != page)
                breaks << block.position() + lines->lineAt(i).textStart();
            page = linePage;
        }
    }
    return breaks;
}

// The report laid out on pages of this size for the device. When a
// paragraph runs on from one page to the next, Qt draws its last line of the
// first page once more above the top of the second: hidden by the clip, yet
// still text in a PDF, found by search and copy. Such paragraphs are split
// where the new page begins, which keeps every line where it was; the split
// copy is laid out afresh (Qt's layout after edits is not to be trusted
// beyond the last edit) until no paragraph runs on.
std::unique_ptr<QTextDocument> paginate(const QTextDocument &report, QPaintDevice &device, QSizeF page)
{
    std::unique_ptr<QTextDocument> source(report.clone());
    for (int round = 0;; ++round) {
        std::unique_ptr<QTextDocument> pages = laidOut(*source, device, page);
        const QList<int> breaks = pageBreaksInParagraphs(*pages);
        if (breaks.isEmpty() || round == 4)
            return pages;
        QTextCursor cursor(source.get());
        cursor.beginEditBlock();
        for (auto it = breaks.crbegin(); it != breaks.crend(); ++it) {
            cursor.setPosition(*it);
            cursor.insertBlock(cursor.blockFormat(), cursor.charFormat());
        }
        cursor.endEditBlock();
    }
}

}  // namespace

QPageLayout reportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 10),
                       QPageLayout::Millimeter);
}

QString pageFooter(int page, int pageCount) { return QStringLiteral("第 %1 页 共 %2 页").arg(page).arg(pageCount); }

int paintReport(const QTextDocument &report, QPagedPaintDevice &device, int first, int last)
{
    const QRectF paintable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const qreal footer = FooterMillimetres / 25.4 * device.logicalDpiY();
    const QSizeF body(paintable.width(), paintable.height() - footer);
    const std::unique_ptr<QTextDocument> pages = paginate(report, device, body);
    const int count = pages->pageCount();
    first = first > 0 ? first : 1;
    last = last > 0 ? qMin(last, count) : count;

    QPainter painter;
    if (!painter.begin(&device))
        throw std::runtime_error("无法开始打印（打印机或文件无法打开）。");
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        const QRectF area(0, (page - 1) * body.height(), body.width(), body.height());
        painter.save();
        painter.setClipRect(QRectF(QPointF(0, 0), body));
        painter.translate(0, -area.top());
        // A line that ends on the page's edge is not drawn again on the next.
        const qreal edge = device.logicalDpiY() / 36.0;  // 2 pt
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area.adjusted(0, edge, 0, -edge);
        context.palette.setColor(QPalette::Text, Qt::black);
        pages->documentLayout()->draw(&painter, context);
        painter.restore();

        painter.setFont(reportFont(9));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, body.height(), body.width(), footer), Qt::AlignHCenter | Qt::AlignBottom,
                         pageFooter(page, count));
    }
    painter.end();
    return count;
}

QByteArray reportPdf(const QTextDocument &report, const QString &title, const QPageLayout &layout)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setResolution(600);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Varnok"));
        paintReport(report, writer);
    }
    buffer.close();
    return bytes;
}

}  // namespace varnok
