// The main window: command bar, five tabs, status bar. It owns the current
// document path and wires every command to its handler; the work itself lives
// in the document, page and list modules.
#pragma once

#include "xml/xmldocument.h"
#include "lists/recordlist.h"
#include "pages/basicpage.h"
#include "rules/declarationcheck.h"

#include <QMainWindow>
#include <array>
#include <optional>
#include <string>

class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class QTabWidget;

namespace varnok {

class CommandLabel;
class Prompts;

inline const QString StatusPathPrefix = QStringLiteral("当前文件保存路径：");

class TForm1 : public QMainWindow, private ListHost {
    Q_OBJECT
public:
    explicit TForm1(Prompts &prompts, QWidget *parent = nullptr);
    ~TForm1() override;

    // Command bar
    QFrame *Panel1 = nullptr;
    CommandLabel *Label1 = nullptr;   // 新建
    CommandLabel *Label12 = nullptr;  // 打开
    CommandLabel *Label44 = nullptr;  // 另存为...
    CommandLabel *Label31 = nullptr;  // 网上申报
    CommandLabel *Label45 = nullptr;  // 帮助
    CommandLabel *Label46 = nullptr;  // 打印
    CommandLabel *Label47 = nullptr;  // 检查
    QPushButton *Button2 = nullptr;   // 退出

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet2 = nullptr;  // 基本信息
    QWidget *TabSheet3 = nullptr;  // 工作简历
    QWidget *TabSheet7 = nullptr;  // 主要业绩
    QWidget *TabSheet5 = nullptr;  // 继续教育
    QWidget *TabSheet1 = nullptr;  // 信用档案
    QStatusBar *StatusBar1 = nullptr;

    BasicPage page;
    RecordList &list(ListId id) const { return *lists_[size_t(id)]; }

    XmlDocument XMLDocument1;

    QString currentDocumentPath() const override { return currentPath_; }
    QString programDirectory() const { return programDir_; }
    QString statusText(int panel) const;
    // The user's format saved at start-up; empty once ShutDown has run.
    std::optional<std::string> savedShortDate() const { return savedShortDate_; }
    // ShutDown has run: the event loop is ending.
    bool hasShutDown() const { return shutDown_; }
    // The window holds something its document does not: a field of the first
    // tab, a row of a grid, or an entry being edited. Without a document on
    // disk, anything typed since the window was last cleared.
    bool hasUnsavedChanges() const;

    // Handlers. They throw; the connections run them through the guard.
public slots:
    void FormCreate();
    void Label1Click();
    void Label12Click();
    void Label44Click();
    void Label31Click();
    void Label45Click();
    void Label46Click();
    void Label47Click();
    void Button2Click();
    bool FormCloseQuery();

    void Button6Click();
    void W_idChange();
    void W_cerExit();
    void W_nameChange();

    void Button15Click();
    void W_wkgridClick();
    void Button16Click();
    void Button17Click();
    void W_yjgridClick();
    void Button18Click();
    void Button9Click();
    void StringGrid2Click();
    void Button11Click();
    void Button1Click();
    void W_xygridClick();
    void Button3Click();

public:
    void ClearAllFields();
    static QString RandomDigits();
    void ShutDown();
    static QString NewRecordId();
    static void RemoveGridRow(RecordGrid *grid, int row);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // ListHost
    Prompts &prompts() override { return prompts_; }
    QWidget *dialogParent() override { return this; }
    QString applicantName() const override;
    void showApplicantName() override;
    XmlDocument &document() override { return XMLDocument1; }
    void showSavedPath() override;
    QString newRecordId() override { return NewRecordId(); }

    void buildCommandBar();
    void buildPages();
    void buildStatusBar();
    void connectHandlers();
    void run(void (TForm1::*handler)());
    void setStatusPath(const QString &path);
    bool documentExists() const;
    // What the window holds, in the document's terms.
    Declaration held() const;
    FileState fileState() const;
    // No unsaved changes, or the user agreed to lose them.
    bool mayDiscard(const QString &question);
    QString exitQuestion() const;
    void saveList(ListId id);
    QString proposedFileName() const;
    void fillPickList(QComboBox *combo, const QString &type, int count, const QString &selected = {});
    std::array<ListRows, ListCount> listRows() const;
    QString pdfFolder() const;
    void focusControl(int tab, const QString &name);

    Prompts &prompts_;
    QString currentPath_;
    QString programDir_;
    QString saveDialogFolder_;
    std::optional<std::string> savedShortDate_;
    bool shutDown_ = false;
    // What the document on disk holds, as of the last open or save, and what
    // the window held when it was last cleared.
    Declaration saved_;
    Declaration cleared_;
    bool basicWritten_ = false;  // the last basic save wrote its file
    std::array<RecordList *, ListCount> lists_{};
    QLabel *statusPanels_[2] = {nullptr, nullptr};
};

}  // namespace varnok
