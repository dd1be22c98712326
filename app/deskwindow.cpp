#include "deskwindow.h"

#include "desk/deskexport.h"
#include "document/values.h"
#include "report/deskreport.h"
#include "report/printpreview.h"
#include "widgets/guard.h"
#include "widgets/prompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace varnok {

namespace {

const QColor ProblemRow(255, 228, 228);
const QColor UnreadableRow(232, 232, 232);
constexpr int RowIndexRole = Qt::UserRole;

}  // namespace

DeskWindow::DeskWindow(Prompts &prompts, std::function<void(const QString &)> open, QWidget *parent)
    : QWidget(parent, Qt::Window), prompts_(prompts), open_(std::move(open))
{
    setObjectName(QStringLiteral("DeskWindow"));
    setWindowTitle(QStringLiteral("批量检查申报资料"));
    resize(1200, 640);

    auto button = [this](const char *name, const char *text, void (DeskWindow::*slot)()) {
        auto *b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, slot] { guarded([this, slot] { (this->*slot)(); }); });
        return b;
    };
    QPushButton *folder = button("DeskFolder", "选择文件夹...", &DeskWindow::chooseFolder);
    QPushButton *files = button("DeskFiles", "选择文件...", &DeskWindow::chooseFiles);
    QPushButton *csv = button("DeskCsv", "导出CSV...", &DeskWindow::exportCsv);
    QPushButton *excel = button("DeskExcel", "导出Excel...", &DeskWindow::exportExcel);
    QPushButton *print = button("DeskPrint", "打印...", &DeskWindow::printTable);
    QPushButton *close = button("DeskClose", "关闭", &DeskWindow::cancel);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    cancel_ = button("DeskCancel", "取消", &DeskWindow::cancel);
    idleButtons_ = {folder, files, csv, excel, print};

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("DeskProgress"));
    progress_->setFormat(QStringLiteral("%v / %m"));
    summary_ =
        new QLabel(QStringLiteral("选择一个文件夹（连同其子文件夹）或几个申报文件，逐个检查，不写入任何内容。"), this);
    summary_->setObjectName(QStringLiteral("DeskSummary"));

    table_ = new QTableWidget(0, int(deskHeadings().size()), this);
    table_->setObjectName(QStringLiteral("DeskTable"));
    table_->setHorizontalHeaderLabels(deskHeadings());
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    // One problem a line, every line shown.
    table_->setWordWrap(true);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {170, 60, 145, 110, 95, 58, 58, 58, 58, 58};
    for (int c = 0; c < int(std::size(widths)); ++c)
        table_->setColumnWidth(c, widths[c]);
    table_->setToolTip(QStringLiteral("双击一行，在主窗口中打开该文件"));
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        const int index = table_->item(row, 0)->data(RowIndexRole).toInt();
        guarded([this, index] { open_(rows_[size_t(index)].check.path); });
    });

    auto *top = new QHBoxLayout;
    top->addWidget(folder);
    top->addWidget(files);
    top->addWidget(progress_, 1);
    top->addWidget(cancel_);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(csv);
    bottom->addWidget(excel);
    bottom->addWidget(print);
    bottom->addStretch();
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(summary_);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);
    setRunning(false);
}

void DeskWindow::guarded(const std::function<void()> &body) { guard(prompts_, this, body); }

void DeskWindow::chooseFolder()
{
    const QString folder = prompts_.folderName(this, QStringLiteral("选择申报资料所在的文件夹"), lastFolder_);
    if (folder.isEmpty())
        return;
    lastFolder_ = folder;
    check({folder}, folder);
}

void DeskWindow::chooseFiles()
{
    const QStringList files = prompts_.openFileNames(this, QStringLiteral("选择要检查的申报文件"), lastFolder_);
    if (files.isEmpty())
        return;
    lastFolder_ = QFileInfo(files.constFirst()).absolutePath();
    check(files, lastFolder_);
}

void DeskWindow::check(const QStringList &paths, const QString &shownFrom)
{
    if (running_)
        return;
    setRunning(true);
    progress_->setRange(0, 0);  // while the folders are searched
    summary_->setText(QStringLiteral("正在查找申报资料……"));
    QApplication::processEvents();
    // Between two files the window answers: 取消, moving, repainting.
    const DeskRun run = checkDeclarations(paths, QDate::currentDate(), shownFrom, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
        QApplication::processEvents();
        return !cancelled_;
    });
    rows_ = run.rows;
    showRows();
    QString text = deskSummary(rows_);
    if (run.stopped())
        text += QStringLiteral("（已取消：共找到 %1 个，只检查了前 %2 个）").arg(run.total).arg(rows_.size());
    else if (rows_.empty())
        text = QStringLiteral("没有找到申报资料（*.xml）。");
    summary_->setText(text);
    setRunning(false);
    if (closeWhenDone_)
        close();
}

void DeskWindow::cancel() { cancelled_ = true; }

void DeskWindow::setRunning(bool running)
{
    running_ = running;
    if (running)
        cancelled_ = closeWhenDone_ = false;
    for (QPushButton *b : idleButtons_)
        b->setEnabled(!running &&
                      (b->objectName() == u"DeskFolder" || b->objectName() == u"DeskFiles" || !rows_.empty()));
    cancel_->setEnabled(running);
    table_->setEnabled(!running);
    if (!running)
        progress_->setRange(0, qMax(1, int(rows_.size())));
}

void DeskWindow::showRows()
{
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(int(rows_.size()));
    for (size_t r = 0; r < rows_.size(); ++r) {
        const DeskRow &row = rows_[r];
        QStringList cells = deskCells(row);
        const QColor shade = !row.check.readable() ? UnreadableRow : row.check.problems.empty() ? QColor() : ProblemRow;
        const QString lines = row.problemLines().join(u'\n');
        cells.last() = lines;
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem;
            // Counts sort as numbers.
            bool number = false;
            const int value = cells[c].toInt(&number);
            if (number && c > 4)
                item->setData(Qt::DisplayRole, value);
            else
                item->setText(cells[c]);
            if (shade.isValid())
                item->setBackground(shade);
            if (!lines.isEmpty())
                item->setToolTip(lines);
            table_->setItem(int(r), c, item);
        }
        table_->item(int(r), 0)->setData(RowIndexRole, int(r));
    }
    // Rows as high as their problems; for a very long table that costs more
    // than it helps.
    if (rows_.size() <= 2000)
        table_->resizeRowsToContents();
    // In the order found until a heading is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
}

QString DeskWindow::exportFolder() const
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString DeskWindow::exportName(const QString &title, const QString &filter, const QString &suffix)
{
    const QString proposed = QStringLiteral("申报资料检查结果%1.%2").arg(formatDate(QDate::currentDate()), suffix);
    return prompts_.saveExportName(this, title, exportFolder(), proposed, filter, suffix);
}

void DeskWindow::exportCsv()
{
    const QString path = exportName(QStringLiteral("导出CSV"), CsvFilter, QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    writeDeskCsv(path, rows_);
    prompts_.message(this, QStringLiteral("CSV文件已保存：") + path);
}

void DeskWindow::exportExcel()
{
    const QString path = exportName(QStringLiteral("导出Excel"), ExcelFilter, QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    writeDeskWorkbook(path, rows_);
    prompts_.message(this, QStringLiteral("Excel文件已保存：") + path);
}

void DeskWindow::printTable()
{
    const std::unique_ptr<QTextDocument> report = buildDeskReport(rows_, QDate::currentDate());
    PrintPreview preview(*report, prompts_, exportFolder(), DeskReportTitle + QStringLiteral(".pdf"), this,
                         DeskReportTitle, deskPageLayout());
    preview.exec();
}

void DeskWindow::closeEvent(QCloseEvent *event)
{
    // A run in progress stops first; the window closes once it has.
    if (running_) {
        cancelled_ = closeWhenDone_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace varnok
