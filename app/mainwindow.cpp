#include "mainwindow.h"

#include "app/screenfit.h"
#include "app/shortcuts.h"
#include "document/values.h"
#include "lists/recordlist.h"
#include "pages/basicpage.h"
#include "platform/folders.h"
#include "platform/shell.h"
#include "platform/userlocale.h"
#include "widgets/commandlabel.h"
#include "widgets/guard.h"
#include "widgets/prompts.h"
#include "widgets/recordgrid.h"
#include "xml/safewrite.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <QWindow>
#include <cstdlib>
#include <ctime>

#ifndef VARNOK_ONLINE_URL
#define VARNOK_ONLINE_URL "https://online-declaration.example/"
#endif

namespace varnok {

namespace {
const QString StatusPathPrefix = QStringLiteral("当前文件保存路径：");
const QString QuestionExit = QStringLiteral("确认要退出本系统吗?");
const QString QuestionExitUnsaved = QStringLiteral("填写的文件还没有保存！确认要退出本系统吗?");
const QString QuestionNewUnsaved = QStringLiteral("填写的文件还没有保存！确认要新建吗?");
constexpr int StatusBarHeight = 18;
// The status bar's panels, and how narrow they may get in a narrow window.
constexpr int StatusWidths[2] = {290, 500};
constexpr int NarrowestStatus[2] = {80, 120};

// The commands of the bar, left to right: objectName, caption, left edge.
struct Command {
    const char *name;
    const char *caption;
    int left;
    void (TForm1::*handler)();
};
const Command Commands[] = {
    {"Label1", "新建", 24, &TForm1::Label1Click},         {"Label12", "打开", 120, &TForm1::Label12Click},
    {"Label44", "另存为...", 216, &TForm1::Label44Click}, {"Label31", "网上申报", 336, &TForm1::Label31Click},
    {"Label45", "帮助", 452, &TForm1::Label45Click},      {"Label46", "打印", 548, &TForm1::Label46Click},
    {"Label47", "检查", 644, &TForm1::Label47Click},      {"Label48", "批量检查...", 724, &TForm1::Label48Click},
};

// Each list's add button, grid click and 保存, by list.
struct ListHandlers {
    void (TForm1::*add)();
    void (TForm1::*click)();
    void (TForm1::*save)();
};
const ListHandlers Handlers[ListCount] = {
    {&TForm1::Button15Click, &TForm1::W_wkgridClick, &TForm1::Button16Click},
    {&TForm1::Button17Click, &TForm1::W_yjgridClick, &TForm1::Button18Click},
    {&TForm1::Button9Click, &TForm1::StringGrid2Click, &TForm1::Button11Click},
    {&TForm1::Button1Click, &TForm1::W_xygridClick, &TForm1::Button3Click},
};
}  // namespace

TForm1::TForm1(Prompts &prompts, const QString &shortDateFolder, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      prompts_(prompts), file_(&TForm1::NewRecordId), shortDate_(shortDateFolder)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(AppTitle);
    setFixedSize(SpecifiedSize);
    programDir_.clear();

    buildClientArea();
    buildCommandBar();
    buildPages();
    buildStatusBar();
    connectHandlers();
    installShortcuts(*this);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));

    run(&TForm1::FormCreate);
    // The keyboard starts where the applicant starts typing.
    page_->nameField()->setFocus();
}

TForm1::~TForm1() = default;

// ------------------------------------------------------------------ layout

// Above the status bar: the command bar and the tabs, at their own places in
// an area of the specified size, which scrolls when the screen cannot hold
// the window.
void TForm1::buildClientArea()
{
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ClientScroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setFixedSize(SpecifiedSize.width(), SpecifiedSize.height() - StatusBarHeight);
    scroll_->setWidget(client_);
    setCentralWidget(scroll_);

    // What gets the focus comes into view, and so does a grid's current cell.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && client_->isAncestorOf(now))
            bringIntoView(now);
    });
    refit_ = new QTimer(this);
    refit_->setSingleShot(true);
    refit_->setInterval(0);
    connect(refit_, &QTimer::timeout, this, [this] { fitToScreen(false); });
}

void TForm1::buildCommandBar()
{
    auto *bar = new QFrame(client_);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setFrameShadow(QFrame::Raised);
    bar->setGeometry(33, 12, 936, 45);

    for (const Command &command : Commands) {
        auto *label = new CommandLabel(QString::fromUtf8(command.caption), bar);
        label->setObjectName(QString::fromLatin1(command.name));
        label->adjustSize();
        label->move(command.left, 20 - (label->height() - fontMetrics().height()) / 2 - 4);
    }
    auto *exit = new QPushButton(QStringLiteral("退出"), bar);
    exit->setObjectName(QStringLiteral("Button2"));
    exit->setGeometry(827, 13, 75, 25);
}

void TForm1::buildPages()
{
    PageControl1 = new QTabWidget(client_);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(32, 64, 937, 553);

    auto sheet = [this](const QString &name, const QString &caption) {
        auto *tab = new QWidget;
        tab->setObjectName(name);
        PageControl1->addTab(tab, caption);
        return tab;
    };
    page_ = std::make_unique<BasicPage>(sheet(QStringLiteral("TabSheet2"), BasicTabCaption), prompts_, this);
    for (const RecordListDef &def : recordListDefs())
        lists_[size_t(def.id)] = new RecordList(def.id, sheet(def.tabName, def.tabCaption), prompts_, this);
}

void TForm1::buildStatusBar()
{
    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(StatusBarHeight);
    setStatusBar(bar);
    for (int i = 0; i < 2; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setFixedWidth(StatusWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        // The bar is 18 pixels high: a slightly smaller type fits it.
        QFont small = panel->font();
        small.setPixelSize(11);
        panel->setFont(small);
        panel->setContentsMargins(2, 0, 2, 0);
        bar->addWidget(panel);
        statusPanels_[i] = panel;
    }
    statusPanels_[0]->setText(QStringLiteral("Kestavel监制"));
    statusPanels_[1]->setText(StatusPathPrefix);
    // What the bar takes besides its panels: margins and spacing.
    statusOverhead_ = bar->minimumSizeHint().width() - StatusWidths[0] - StatusWidths[1];

    // Puts back the entry removed last from the list in front (Ctrl+Z there).
    // Drawn as a link, so that it reads as something to press in the bar.
    undoRemove_ = new QPushButton(QStringLiteral("撤销删除"), bar);
    undoRemove_->setObjectName(QStringLiteral("UndoRemove"));
    undoRemove_->setFocusPolicy(Qt::TabFocus);
    undoRemove_->setCursor(Qt::PointingHandCursor);
    undoRemove_->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0 6px; color: palette(link);"
                                              " text-decoration: underline; font-size: 11px; }"
                                              "QPushButton:focus { border: 1px dotted palette(text); }"));
    undoRemove_->setFixedHeight(16);
    undoRemove_->hide();
    bar->addPermanentWidget(undoRemove_);
}

void TForm1::connectHandlers()
{
    auto on = [this](auto *sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { run(handler); });
    };
    // A command that reads or replaces the window's contents.
    auto command = [this](auto *sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, sender, handler] {
            if (leaveField(sender))
                run(handler);
        });
    };
    for (const Command &c : Commands) {
        auto *label = findChild<CommandLabel *>(QString::fromLatin1(c.name));
        // The desk's window reads files only; opening one of them asks as 打开 does.
        const bool readsWindow = c.handler != &TForm1::Label31Click && c.handler != &TForm1::Label45Click &&
                                 c.handler != &TForm1::Label48Click;
        if (readsWindow)
            command(label, &CommandLabel::clicked, c.handler);
        else
            on(label, &CommandLabel::clicked, c.handler);
    }
    command(findChild<QPushButton *>(QStringLiteral("Button2")), &QPushButton::clicked, &TForm1::Button2Click);

    command(page_->saveButton(), &QPushButton::clicked, &TForm1::Button6Click);
    on(page_->idType(), &QComboBox::activated, &TForm1::W_idChange);
    on(page_->nameField(), &QLineEdit::textChanged, &TForm1::W_nameChange);
    page_->idNumber()->installEventFilter(this);

    for (int l = 0; l < ListCount; ++l) {
        RecordList &rl = *lists_[size_t(l)];
        on(rl.addButton(), &QPushButton::clicked, Handlers[l].add);
        on(rl.grid(), &RecordGrid::gridClicked, Handlers[l].click);
        command(rl.saveButton(), &QPushButton::clicked, Handlers[l].save);
        connect(&rl, &RecordList::undoAvailableChanged, this, &TForm1::showUndo);
        RecordGrid *grid = rl.grid();
        connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, grid] {
            if (grid->hasFocus())
                bringIntoView(grid);
        });
    }
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::showUndo);
    connect(undoRemove_, &QPushButton::clicked, this, &TForm1::undoRemove);
}

// ------------------------------------------------------- screen and scaling

void TForm1::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // The platform window first: its frame is known from then on.
        create();
        if (!placed_) {
            connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen *screen) {
                followScreen(screen);
                refit_->start();
            });
            followScreen(windowHandle()->screen());
        }
        fitToScreen(!placed_);
        placed_ = true;
    }
    QMainWindow::setVisible(visible);
    if (visible) {
        // The focus shows from the start, not only once Tab has been pressed.
        setAttribute(Qt::WA_KeyboardFocusChange);
        // A window manager may frame the window only now.
        refit_->start();
    }
}

void TForm1::followScreen(QScreen *screen)
{
    for (const QMetaObject::Connection &c : std::as_const(screenWatch_))
        disconnect(c);
    screenWatch_.clear();
    if (!screen)
        return;
    auto refit = [this] { refit_->start(); };
    screenWatch_ << connect(screen, &QScreen::availableGeometryChanged, this, refit)
                 << connect(screen, &QScreen::geometryChanged, this, refit)
                 << connect(screen, &QScreen::logicalDotsPerInchChanged, this, refit);
}

void TForm1::fitToScreen(bool centre)
{
    const QWindow *window = windowHandle();
    const QScreen *screen = window ? window->screen() : this->screen();
    if (!screen)
        return;
    const QMargins frame = window ? window->frameMargins() : QMargins();
    std::optional<QPoint> keep;
    if (!centre)
        keep = geometry().topLeft() - QPoint(frame.left(), frame.top());
    const WindowFit fit = fitWindow(SpecifiedSize, screen->availableGeometry(), frame,
                                    style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_), keep);
    if (fit.geometry == geometry() && size() == minimumSize() && size() == maximumSize())
        return;
    setFixedSize(fit.geometry.size());
    setGeometry(fit.geometry);
    fitStatusBar(fit.geometry.width());
}

void TForm1::fitStatusBar(int width)
{
    // Too wide for the window: the path's panel gives way first.
    int over = statusOverhead_ + StatusWidths[0] + StatusWidths[1] - width;
    if (!undoRemove_->isHidden())
        over += undoRemove_->sizeHint().width() + 6;
    for (int i = 0; i < 2; ++i)
        statusPanels_[i]->setFixedWidth(StatusWidths[i]);
    for (int i = 1; i >= 0 && over > 0; --i) {
        const int less = qMin(over, StatusWidths[i] - NarrowestStatus[i]);
        statusPanels_[i]->setFixedWidth(StatusWidths[i] - less);
        over -= less;
    }
}

void TForm1::bringIntoView(QWidget *control)
{
    if (!control || !client_->isAncestorOf(control))
        return;
    // Some room around it, as far as the view has room to spare.
    auto show = [this](const QRect &area) {
        constexpr int Margin = 8;
        const QSize view = scroll_->viewport()->size();
        const int marginX = qBound(0, (view.width() - area.width() - 2) / 2, Margin);
        const int marginY = qBound(0, (view.height() - area.height() - 2) / 2, Margin);
        const QPoint centre = area.center();
        scroll_->ensureVisible(centre.x(), centre.y(), area.width() / 2 + marginX, area.height() / 2 + marginY);
    };
    const QRect whole(control->mapTo(client_, QPoint(0, 0)), control->size());
    show(whole);
    // In a grid, its current cell above all.
    for (QWidget *w = control; w && w != client_; w = w->parentWidget())
        if (auto *grid = qobject_cast<RecordGrid *>(w)) {
            const QRect cell = grid->visualRect(grid->currentIndex());
            if (cell.isValid())
                show(QRect(grid->viewport()->mapTo(client_, cell.topLeft()), cell.size()) & whole);
            break;
        }
}

void TForm1::run(void (TForm1::*handler)())
{
    guard(prompts_, this, [this, handler] { (this->*handler)(); });
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == page_->idNumber() && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Opening a pop-up or switching windows is not leaving the field.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            idNumberLeft_ = true;
            QTimer::singleShot(0, this, [this] {
                // Unless a command has run the rule already.
                if (idNumberLeft_) {
                    idNumberLeft_ = false;
                    run(&TForm1::W_cerExit);
                }
            });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::leaveField(QWidget *command)
{
    if (focusWidget() == page_->idNumber()) {
        // A command that takes the focus takes it from the field, as a click
        // does; one that cannot still reads the window: the field counts as
        // left.
        if (command->focusPolicy() & Qt::ClickFocus)
            command->setFocus(Qt::MouseFocusReason);
        if (focusWidget() == page_->idNumber())
            idNumberLeft_ = true;
    }
    if (!idNumberLeft_)
        return true;
    idNumberLeft_ = false;
    bool passed = false;
    guard(prompts_, this, [&] { passed = page_->checkIdNumber(); });
    return passed;
}

// -------------------------------------------------------------- creation

void TForm1::FormCreate()
{
    // While the program runs, every date reads yyyy-MM-dd.
    shortDate_.begin("yyyy-MM-dd");

    PageControl1->setCurrentIndex(0);
    programDir_ = platform::programDirectory(QCoreApplication::applicationDirPath());
    saveDialogFolder_ = programDir_;
    page_->saveButton()->setEnabled(false);
    for (RecordList *l : lists_)
        l->saveButton()->setEnabled(false);
    // The folder at first, although no file is bound yet.
    showPath(programDir_);

    const QDate today = QDate::currentDate();
    page_->start(today);
    for (RecordList *l : lists_)
        l->start(today);
    file_.bindNew(QString(), held());
}

// ------------------------------------------------------------- commands

void TForm1::Label1Click()
{
    if (!mayDiscard(QuestionNewUnsaved))
        return;
    try {
        const QString path = programDir_ + QStringLiteral("Tamsor") + formatDate(QDate::currentDate()) + u'-' +
                             RandomDigits() + QStringLiteral(".xml");
        showPath(path);
        PageControl1->setCurrentIndex(0);
        ClearAllFields();
        page_->saveButton()->setEnabled(false);
        for (RecordList *l : lists_)
            l->saveButton()->setEnabled(false);
        file_.bindNew(path, held());
        page_->nameField()->setFocus();
        emit bindingChanged();
    } catch (...) {
        prompts_.message(this, QStringLiteral("程序出现异常错误，请退出后再次运行！"));
    }
}

void TForm1::Label31Click()
{
    if (!platform::shellOpen(L"OPEN", QStringLiteral(VARNOK_ONLINE_URL).toStdWString()))
        prompts_.message(this, QStringLiteral("网页打开错误,请确保网络联接！"));
}

void TForm1::Label45Click()
{
    QFile resource(QStringLiteral(":/MYHELP"));
    if (!resource.open(QIODevice::ReadOnly))
        throw std::runtime_error("找不到内嵌的帮助文件（MYHELP）。");
    const QByteArray bytes = resource.readAll();
    const QString helpFile = QStringLiteral("help.chm");
    writeFileSafely(helpFile, bytes);
    if (!platform::shellOpen(nullptr, helpFile.toStdWString()))
        prompts_.message(this, QStringLiteral("帮助文件未找到或打开错误！"));
}

// ------------------------------------------------------- unsaved changes

Declaration TForm1::held() const { return {page_->values(), listRows()}; }

std::array<ListRows, ListCount> TForm1::listRows() const
{
    std::array<ListRows, ListCount> rows;
    for (int l = 0; l < ListCount; ++l)
        rows[size_t(l)] = lists_[size_t(l)]->rows();
    return rows;
}

bool TForm1::hasUnsavedChanges() const
{
    for (const RecordList *l : lists_)
        if (l->inEditMode())
            return true;
    return file_.hasChanges(held());
}

bool TForm1::mayDiscard(const QString &question) { return !hasUnsavedChanges() || prompts_.question(this, question); }

// ---------------------------------------------------------- window state

WindowState TForm1::windowState() const
{
    WindowState state{file_.path(), PageControl1->currentIndex(), held(), {}};
    for (int l = 0; l < ListCount; ++l)
        state.entries[size_t(l)] = lists_[size_t(l)]->entryState();
    return state;
}

void TForm1::restoreWindow(const WindowState &state)
{
    ClearAllFields();
    const Declaration emptied = held();
    // Bound as "打开" binds a file, to what it really holds, or as "新建"
    // binds one not written yet: either way, what the state holds beyond the
    // file counts as unsaved.
    bool bound = false;
    if (!state.path.isEmpty() && QFileInfo::exists(state.path)) {
        try {
            FileStamp stamp;
            const Declaration onDisk = DeclarationFile::read(state.path, &stamp);
            page_->setValues(onDisk.basic);
            for (int l = 0; l < ListCount; ++l)
                lists_[size_t(l)]->appendEntries(onDisk.lists[size_t(l)]);
            file_.bindRead(state.path, held(), stamp);
            bound = true;
        } catch (const std::exception &) {
            // Unreadable now: the next save writes it anew.
        }
        ClearAllFields();
    }
    if (!bound)
        file_.bindNew(state.path, emptied);

    page_->setValues(state.held.basic);
    page_->applyIdType();
    page_->saveButton()->setEnabled(true);
    for (int l = 0; l < ListCount; ++l) {
        RecordList &rl = *lists_[size_t(l)];
        rl.appendEntries(state.held.lists[size_t(l)]);
        const EntryState &entry = state.entries[size_t(l)];
        rl.restoreEntry(entry);
        if (!entry.editing)
            rl.saveButton()->setEnabled(file_.hasListChanges(ListId(l), rl.rows()));
    }
    PageControl1->setCurrentIndex(state.tab);
    showPath(state.path.isEmpty() ? programDir_ : state.path);
}

// ----------------------------------------------------------------- leaving

QString TForm1::exitQuestion() const
{
    return file_.exists() && !hasUnsavedChanges() ? QuestionExit : QuestionExitUnsaved;
}

void TForm1::Button2Click()
{
    if (prompts_.question(this, exitQuestion()))
        ShutDown();
}

bool TForm1::FormCloseQuery()
{
    if (shutDown_)
        return true;
    const bool exists = file_.exists();
    if (!prompts_.question(this, exitQuestion()))
        return false;
    ShutDown();
    // With a document on disk the close itself is refused; the program ends
    // all the same, since ShutDown has ended the event loop.
    return !exists;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool mayClose = false;
    guard(prompts_, this, [&] { mayClose = FormCloseQuery(); });
    event->setAccepted(mayClose);
}

void TForm1::ShutDown()
{
    // Once per process: a second run would find nothing to put back.
    if (shutDown_)
        return;
    shutDown_ = true;
    emit shuttingDown();
    if (QFile::exists(QStringLiteral("help.chm")))
        QFile::remove(QStringLiteral("help.chm"));
    // Only a format that was really read is written back; an empty one would
    // damage the user's own setting.
    shortDate_.end();
    // Leave the event loop without closing the windows: closing them would run
    // the close query and ask a second time. (Without a running loop there is
    // nothing to leave, and exit() would end the next loop before it starts.)
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

// ------------------------------------------------------- shared operations

QString TForm1::RandomDigits()
{
    std::srand(unsigned(std::time(nullptr)));
    return QStringLiteral("%1").arg(std::rand() % 10000, 4, 10, QLatin1Char('0'));
}

QString TForm1::NewRecordId() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }

void TForm1::RemoveGridRow(RecordGrid *grid, int row) { grid->removeGridRow(row); }

void TForm1::ClearAllFields()
{
    page_->clear(QDate::currentDate());
    for (RecordList *l : lists_)
        l->clearAll();
}

// ------------------------------------------------------- first tab rules

void TForm1::W_idChange() { page_->applyIdType(); }

void TForm1::W_cerExit() { page_->checkIdNumber(); }

void TForm1::W_nameChange() { page_->saveButton()->setEnabled(true); }

// --------------------------------------------------------- record lists

void TForm1::Button15Click() { list(WorkHistory).addOrCommit(); }
void TForm1::W_wkgridClick() { list(WorkHistory).gridClick(); }
void TForm1::Button16Click() { saveList(WorkHistory); }
void TForm1::Button17Click() { list(Achievements).addOrCommit(); }
void TForm1::W_yjgridClick() { list(Achievements).gridClick(); }
void TForm1::Button18Click() { saveList(Achievements); }
void TForm1::Button9Click() { list(ContinuingEducation).addOrCommit(); }
void TForm1::StringGrid2Click() { list(ContinuingEducation).gridClick(); }
void TForm1::Button11Click() { saveList(ContinuingEducation); }
void TForm1::Button1Click() { list(CreditRecord).addOrCommit(); }
void TForm1::W_xygridClick() { list(CreditRecord).gridClick(); }
void TForm1::Button3Click() { saveList(CreditRecord); }

RecordList *TForm1::frontList() const
{
    const int tab = PageControl1->currentIndex();
    return tab >= 1 && tab <= ListCount ? lists_[size_t(tab - 1)] : nullptr;
}

void TForm1::showUndo()
{
    const RecordList *front = frontList();
    undoRemove_->setVisible(front && front->canUndoRemove());
    fitStatusBar(width());
}

void TForm1::undoRemove()
{
    if (RecordList *front = frontList())
        front->undoRemove();
}

// ------------------------------------------------------------ status bar

void TForm1::showPath(const QString &path)
{
    statusPanels_[1]->setText(StatusPathPrefix + path);
    // The whole path, where the panel cuts it off.
    statusPanels_[1]->setToolTip(path);
}

QString TForm1::statusText(int panel) const { return statusPanels_[panel]->text(); }

}  // namespace varnok
