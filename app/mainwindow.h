// The main window: command bar, five tabs, status bar. It wires every
// command to its handler, which reads the window, asks the declaration file
// or a tab to do the work, and shows the result. The handlers keep the names
// the form gives them; the controls are reached by their objectName.
#pragma once

#include "declaration/declarationfile.h"
#include "declaration/recoverycopy.h"
#include "platform/shortdate.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QScreen;
class QScrollArea;
class QTabWidget;
class QTimer;

namespace varnok {

class BasicPage;
class DeskWindow;
class Prompts;
class RecordGrid;
class RecordList;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // The user's short-date format is kept in shortDateFolder while the
    // program's is set (platform/shortdate.h); with none, in memory only.
    explicit TForm1(Prompts &prompts, const QString &shortDateFolder = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    QString currentDocumentPath() const { return file_.path(); }
    QString programDirectory() const { return programDir_; }
    QString statusText(int panel) const;
    // The user's format saved at start-up; empty once ShutDown has run.
    std::optional<std::string> savedShortDate() const { return shortDate_.userFormat(); }
    // ShutDown has run: the event loop is ending.
    bool hasShutDown() const { return shutDown_; }
    // What the window holds, in the document's terms: the first tab's values
    // and the entry rows of the four grids.
    Declaration held() const;
    // The window holds something its document does not: a field of the first
    // tab, a row of a grid, or an entry being edited. Without a document on
    // disk, anything typed since the window was last cleared.
    bool hasUnsavedChanges() const;

    // All the window holds, as a recovery copy keeps it: the file, the tab in
    // front, what held() gives, and each list's entry fields and mode.
    WindowState windowState() const;
    // The window filled from such a state and bound to its file, with what it
    // holds beyond that file still unsaved: the next save writes it. Dates
    // must be valid.
    void restoreWindow(const WindowState &state);

    // The window's size without frame and the size of what it shows, as
    // specified: the window has it wherever the screen holds it.
    static constexpr QSize SpecifiedSize{1000, 662};
    // Scroll the window's content until this control shows, as a whole if it
    // fits; the focus does it too.
    void bringIntoView(QWidget *control);
    // Showing the window fits it to its screen first.
    void setVisible(bool visible) override;

signals:
    // A save succeeded, a file was opened, or "新建" bound a new one.
    void bindingChanged();
    // The program ends normally (ShutDown).
    void shuttingDown();

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
    void Label48Click();
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
    // The declaration at path read into the window, which is bound to it: what
    // "打开" does once a file is chosen. Throws, changing nothing, when it
    // cannot be read.
    void openDeclaration(const QString &path);
    // The same for a file of the desk's table, asking first as "打开" asks.
    void openFromDesk(const QString &path);

    void ClearAllFields();
    static QString RandomDigits();
    void ShutDown();
    static QString NewRecordId();
    static void RemoveGridRow(RecordGrid *grid, int row);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildClientArea();
    void buildCommandBar();
    void buildPages();
    void buildStatusBar();
    void connectHandlers();
    void run(void (TForm1::*handler)());
    // Before a command reads or replaces what the window holds, the field
    // being typed in is left as a click on the command leaves it, from the
    // mouse or from a key alike: the identity number's rule runs first.
    // False when it refused, with the cursor back in the field.
    bool leaveField(QWidget *command);
    RecordList &list(ListId id) const { return *lists_[size_t(id)]; }

    void showPath(const QString &path);
    // The list on the tab in front, null on the first tab.
    RecordList *frontList() const;
    // "撤销删除" shows while the list in front can put an entry back.
    void showUndo();
    void undoRemove();
    // No unsaved changes, or the user agreed to lose them.
    bool mayDiscard(const QString &question);
    QString exitQuestion() const;
    // The first tab's checks; the first that fails is shown. Whether all passed.
    bool passesSaveChecks(const FieldValues &values);
    // The basic information written to path, then every list with entries.
    void writeDeclaration(const FieldValues &values, const QString &path);
    void saveList(ListId id);
    QString proposedFileName() const;
    std::array<ListRows, ListCount> listRows() const;
    QString pdfFolder() const;
    void focusControl(int tab, const QString &name);
    // Fit the window to the screen it is on (Qt's own scaling gives every size
    // in device-independent pixels); centred when first shown, afterwards
    // kept where it is as far as the screen allows.
    void fitToScreen(bool centre);
    void followScreen(QScreen *screen);
    void fitStatusBar(int width);

    Prompts &prompts_;
    DeclarationFile file_;
    QString programDir_;
    QString saveDialogFolder_;
    platform::ShortDateSwitch shortDate_;
    bool shutDown_ = false;
    bool idNumberLeft_ = false;  // the number's rule is due, not yet run

    QScrollArea *scroll_ = nullptr;
    QWidget *client_ = nullptr;
    QTimer *refit_ = nullptr;
    QList<QMetaObject::Connection> screenWatch_;
    bool placed_ = false;
    int statusOverhead_ = 0;

    QTabWidget *PageControl1 = nullptr;
    std::unique_ptr<BasicPage> page_;
    std::array<RecordList *, ListCount> lists_{};
    QLabel *statusPanels_[2] = {nullptr, nullptr};
    QPushButton *undoRemove_ = nullptr;
    DeskWindow *desk_ = nullptr;
};

}  // namespace varnok
