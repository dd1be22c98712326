// The print preview of the declaration: pages as they will print, zoom,
// "打印..." to any installed printer and "导出PDF..." through a save dialog.
#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPrinter>

class QLabel;
class QPrintPreviewWidget;
class QTextDocument;

namespace varnok {

class Prompts;

class PrintPreview : public QDialog {
    Q_OBJECT
public:
    // The PDF dialog proposes pdfName in pdfFolder. The declaration's title
    // and pages unless others are given.
    PrintPreview(const QTextDocument &report, Prompts &prompts, const QString &pdfFolder, const QString &pdfName,
                 QWidget *parent = nullptr, const QString &title = {}, const QPageLayout &layout = {});

    QPrintPreviewWidget *view() const { return view_; }
    int pageCount() const;

public slots:
    void printReport();  // "打印..."
    void exportPdf();    // "导出PDF..."

private:
    void paintPages(QPrinter *printer);

    const QTextDocument &report_;
    Prompts &prompts_;
    QString pdfFolder_;
    QString pdfName_;
    QString title_;
    QPageLayout layout_;
    QPrinter printer_;
    QPrintPreviewWidget *view_ = nullptr;
    QLabel *pages_ = nullptr;
};

}  // namespace varnok
