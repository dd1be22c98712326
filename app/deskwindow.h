// The employer's desk in a window of its own ("批量检查..."): choose a folder
// or files, check them (a progress bar and 取消 for long runs), one row per
// file; a double-click opens the file in the main window; the table goes out
// as CSV, as an Excel workbook or through the print preview. The checks are
// the core's (desk/); this window only shows them.
#pragma once

#include "desk/deskcheck.h"

#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace varnok {

class Prompts;

class DeskWindow : public QWidget {
    Q_OBJECT
public:
    // open: what a double-click on a row does with the file.
    DeskWindow(Prompts &prompts, std::function<void(const QString &)> open, QWidget *parent);

    // The run itself, without a dialog: shown relative to shownFrom.
    void check(const QStringList &paths, const QString &shownFrom);
    const std::vector<DeskRow> &rows() const { return rows_; }
    bool running() const { return running_; }

public slots:
    void chooseFolder();  // "选择文件夹..."
    void chooseFiles();   // "选择文件..."
    void cancel();        // "取消"
    void exportCsv();     // "导出CSV..."
    void exportExcel();   // "导出Excel..."
    void printTable();    // "打印..."

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showRows();
    void setRunning(bool running);
    QString exportFolder() const;
    QString exportName(const QString &title, const QString &filter, const QString &suffix);
    void guarded(const std::function<void()> &body);

    Prompts &prompts_;
    std::function<void(const QString &)> open_;
    std::vector<DeskRow> rows_;
    QString lastFolder_;
    bool running_ = false;
    bool cancelled_ = false;
    bool closeWhenDone_ = false;

    QTableWidget *table_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QLabel *summary_ = nullptr;
    QList<QPushButton *> idleButtons_;  // pressed only between runs
    QPushButton *cancel_ = nullptr;
};

}  // namespace varnok
