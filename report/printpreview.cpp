#include "printpreview.h"

#include "report/declarationreport.h"
#include "report/reportpages.h"
#include "widgets/guard.h"
#include "widgets/prompts.h"
#include "xml/safewrite.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>

namespace varnok {

PrintPreview::PrintPreview(const QTextDocument &report, Prompts &prompts, const QString &pdfFolder,
                           const QString &pdfName, QWidget *parent, const QString &title, const QPageLayout &pageLayout)
    : QDialog(parent), report_(report), prompts_(prompts), pdfFolder_(pdfFolder), pdfName_(pdfName),
      title_(title.isEmpty() ? ReportTitle : title), layout_(pageLayout.isValid() ? pageLayout : reportPageLayout()),
      printer_(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("打印预览 — ") + title_);
    printer_.setPageLayout(layout_);
    printer_.setDocName(title_);

    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setObjectName(QStringLiteral("PreviewPages"));
    connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { paintPages(printer); });

    auto button = [this](const char *name, const char *text) {
        auto *b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *print = button("PreviewPrint", "打印...");
    QPushButton *pdf = button("PreviewPdf", "导出PDF...");
    QPushButton *fitWidth = button("PreviewFitWidth", "适合宽度");
    QPushButton *wholePage = button("PreviewWholePage", "整页");
    QPushButton *zoomIn = button("PreviewZoomIn", "放大");
    QPushButton *zoomOut = button("PreviewZoomOut", "缩小");
    QPushButton *close = button("PreviewClose", "关闭");
    pages_ = new QLabel(this);
    pages_->setObjectName(QStringLiteral("PreviewPageCount"));

    auto run = [this](auto body) { return [this, body] { guard(prompts_, this, body); }; };
    connect(print, &QPushButton::clicked, this, run([this] { printReport(); }));
    connect(pdf, &QPushButton::clicked, this, run([this] { exportPdf(); }));
    connect(fitWidth, &QPushButton::clicked, view_, &QPrintPreviewWidget::fitToWidth);
    connect(wholePage, &QPushButton::clicked, view_, &QPrintPreviewWidget::fitInView);
    connect(zoomIn, &QPushButton::clicked, view_, [this] { view_->zoomIn(); });
    connect(zoomOut, &QPushButton::clicked, view_, [this] { view_->zoomOut(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(view_, &QPrintPreviewWidget::previewChanged, this,
            [this] { pages_->setText(QStringLiteral("共 %1 页").arg(view_->pageCount())); });

    auto *bar = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(print), static_cast<QWidget *>(pdf)})
        bar->addWidget(w);
    bar->addSpacing(24);
    for (QPushButton *b : {fitWidth, wholePage, zoomIn, zoomOut})
        bar->addWidget(b);
    bar->addSpacing(24);
    bar->addWidget(pages_);
    bar->addStretch();
    bar->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);

    QSize size(900, 760);
    if (const QScreen *screen = parent ? parent->screen() : this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    view_->fitToWidth();
}

int PrintPreview::pageCount() const { return view_->pageCount(); }

void PrintPreview::paintPages(QPrinter *printer)
{
    // A printer dialog may have asked for a range of pages.
    const bool range = printer->printRange() == QPrinter::PageRange;
    paintReport(report_, *printer, range ? printer->fromPage() : 0, range ? printer->toPage() : 0);
}

void PrintPreview::printReport()
{
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("打印") + title_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    view_->print();
    // The preview keeps showing every page.
    printer_.setPrintRange(QPrinter::AllPages);
    view_->updatePreview();
}

void PrintPreview::exportPdf()
{
    const QString path = prompts_.savePdfFileName(this, pdfFolder_, pdfName_);
    if (path.isEmpty())
        return;
    writeFileSafely(path, reportPdf(report_, title_, layout_));
    prompts_.message(this, QStringLiteral("PDF文件已保存：") + path);
}

}  // namespace varnok
