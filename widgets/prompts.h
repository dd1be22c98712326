// Every message box and file dialog of the program goes through Prompts, so
// that tests can script the answers.
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace varnok {

inline const QString AppTitle = QStringLiteral("Varnok——Version 1.0");
inline const QString QuestionCaption = QStringLiteral("系统提示");
inline const QString XmlFilter = QStringLiteral("XML文件 (*.xml)");
inline const QString PdfFilter = QStringLiteral("PDF文件 (*.pdf)");
inline const QString CsvFilter = QStringLiteral("CSV文件 (*.csv)");
inline const QString ExcelFilter = QStringLiteral("Excel工作簿 (*.xlsx)");

// One line of the report of "检查": the tab, the field and the problem, in
// the form's words.
struct ReportLine {
    QString tab;
    QString field;
    QString problem;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // Plain modal message, one OK button, the application title as caption.
    virtual void message(QWidget *parent, const QString &text) = 0;
    // Yes/No question, question icon, caption "系统提示", No as default.
    virtual bool question(QWidget *parent, const QString &text) = 0;
    // The standard error box: an error's own message.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // Open dialog; empty when cancelled.
    virtual QString openFileName(QWidget *parent, const QString &folder) = 0;
    // Save dialog proposing a file name in a folder; asks before replacing an
    // existing file and adds ".xml" to a name typed without it. Empty when
    // cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const QString &proposedName) = 0;
    // Save dialog for a PDF copy, proposing a file name in a folder; asks
    // before replacing and adds ".pdf". Empty when cancelled.
    virtual QString savePdfFileName(QWidget *parent, const QString &folder, const QString &proposedName) = 0;
    // The report of "检查"; the index of the line chosen (double-clicked),
    // -1 when closed without a choice.
    virtual int checkReport(QWidget *parent, const QList<ReportLine> &lines) = 0;
    // A folder to choose, starting in folder; empty when cancelled.
    virtual QString folderName(QWidget *parent, const QString &title, const QString &folder) = 0;
    // Declarations to open, one or more, starting in folder; empty when cancelled.
    virtual QStringList openFileNames(QWidget *parent, const QString &title, const QString &folder) = 0;
    // Save dialog for an exported table: filter and suffix as CsvFilter and
    // "csv"; asks before replacing. Empty when cancelled.
    virtual QString saveExportName(QWidget *parent, const QString &title, const QString &folder,
                                   const QString &proposedName, const QString &filter, const QString &suffix) = 0;
};

// Message boxes and file dialogs for real.
Prompts &desktopPrompts();

}  // namespace varnok
