#include "mainwindow.h"

#include "widgets/commandlabel.h"
#include "widgets/guard.h"
#include "app/shortcuts.h"
#include "dictionary/dictionary.h"
#include "xml/safewrite.h"
#include "document/values.h"
#include "widgets/recordgrid.h"
#include "widgets/fields.h"
#include "rules/idnumber.h"
#include "platform/folders.h"
#include "widgets/prompts.h"
#include "platform/userlocale.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QUuid>
#include <QTimer>
#include <cstdlib>
#include <ctime>

#ifndef VARNOK_ONLINE_URL
#define VARNOK_ONLINE_URL "https://online-declaration.example/"
#endif

namespace varnok {

namespace {
const QString QuestionExit = QStringLiteral("确认要退出本系统吗?");
const QString QuestionExitUnsaved = QStringLiteral("填写的文件还没有保存！确认要退出本系统吗?");
const QString QuestionNewUnsaved = QStringLiteral("填写的文件还没有保存！确认要新建吗?");
}  // namespace

TForm1::TForm1(Prompts &prompts, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      prompts_(prompts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(AppTitle);
    setFixedSize(1000, 662);
    currentPath_.clear();
    programDir_.clear();

    buildCommandBar();
    buildPages();
    buildStatusBar();
    connectHandlers();
    installShortcuts(*this);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));

    run(&TForm1::FormCreate);
}

TForm1::~TForm1() = default;

// ------------------------------------------------------------------ layout

void TForm1::buildCommandBar()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(central);

    Panel1 = new QFrame(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setGeometry(33, 12, 936, 45);

    auto label = [this](const char *name, const char *text, int left) {
        auto *l = new CommandLabel(QString::fromUtf8(text), Panel1);
        l->setObjectName(QString::fromLatin1(name));
        l->adjustSize();
        l->move(left, 20 - (l->height() - fontMetrics().height()) / 2 - 4);
        return l;
    };
    Label1 = label("Label1", "新建", 24);
    Label12 = label("Label12", "打开", 120);
    Label44 = label("Label44", "另存为...", 216);
    Label31 = label("Label31", "网上申报", 336);
    Label45 = label("Label45", "帮助", 452);
    Label46 = label("Label46", "打印", 548);
    Label47 = label("Label47", "检查", 644);

    Button2 = new QPushButton(QStringLiteral("退出"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(827, 13, 75, 25);
}

void TForm1::buildPages()
{
    PageControl1 = new QTabWidget(centralWidget());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(32, 64, 937, 553);

    auto sheet = [this](const char *name, const QString &caption) {
        auto *tab = new QWidget;
        tab->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(tab, caption);
        return tab;
    };
    TabSheet2 = sheet("TabSheet2", QStringLiteral("基本信息"));
    page.build(TabSheet2);

    const auto &defs = recordListDefs();
    QWidget **sheets[ListCount] = {&TabSheet3, &TabSheet7, &TabSheet5, &TabSheet1};
    for (int l = 0; l < ListCount; ++l) {
        const RecordListDef &def = defs[size_t(l)];
        *sheets[l] = sheet(def.tabName.toLatin1().constData(), def.tabCaption);
        lists_[size_t(l)] = new RecordList(def, *sheets[l], *this);
    }
}

void TForm1::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(18);
    setStatusBar(StatusBar1);
    const int widths[2] = {290, 500};
    for (int i = 0; i < 2; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        // The bar is 18 pixels high: a slightly smaller type fits it.
        QFont small = panel->font();
        small.setPixelSize(11);
        panel->setFont(small);
        panel->setContentsMargins(2, 0, 2, 0);
        StatusBar1->addWidget(panel);
        statusPanels_[i] = panel;
    }
    statusPanels_[0]->setText(QStringLiteral("Kestavel监制"));
    statusPanels_[1]->setText(StatusPathPrefix);
}

void TForm1::connectHandlers()
{
    auto on = [this](auto *sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { run(handler); });
    };
    on(Label1, &CommandLabel::clicked, &TForm1::Label1Click);
    on(Label12, &CommandLabel::clicked, &TForm1::Label12Click);
    on(Label44, &CommandLabel::clicked, &TForm1::Label44Click);
    on(Label31, &CommandLabel::clicked, &TForm1::Label31Click);
    on(Label45, &CommandLabel::clicked, &TForm1::Label45Click);
    on(Label46, &CommandLabel::clicked, &TForm1::Label46Click);
    on(Label47, &CommandLabel::clicked, &TForm1::Label47Click);
    on(Button2, &QPushButton::clicked, &TForm1::Button2Click);

    on(page.Button6, &QPushButton::clicked, &TForm1::Button6Click);
    on(page.W_id, &QComboBox::activated, &TForm1::W_idChange);
    on(page.W_name, &QLineEdit::textChanged, &TForm1::W_nameChange);
    page.W_cer->installEventFilter(this);

    using Handler = void (TForm1::*)();
    const Handler handlers[ListCount][3] = {
        {&TForm1::Button15Click, &TForm1::W_wkgridClick, &TForm1::Button16Click},
        {&TForm1::Button17Click, &TForm1::W_yjgridClick, &TForm1::Button18Click},
        {&TForm1::Button9Click, &TForm1::StringGrid2Click, &TForm1::Button11Click},
        {&TForm1::Button1Click, &TForm1::W_xygridClick, &TForm1::Button3Click},
    };
    for (int l = 0; l < ListCount; ++l) {
        RecordList &rl = *lists_[size_t(l)];
        on(rl.addButton(), &QPushButton::clicked, handlers[l][0]);
        on(rl.grid(), &RecordGrid::gridClicked, handlers[l][1]);
        on(rl.saveButton(), &QPushButton::clicked, handlers[l][2]);
    }
}

void TForm1::run(void (TForm1::*handler)())
{
    guard(prompts_, this, [this, handler] { (this->*handler)(); });
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == page.W_cer && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Opening a pop-up or switching windows is not leaving the field.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            QTimer::singleShot(0, this, [this] { run(&TForm1::W_cerExit); });
    }
    return QMainWindow::eventFilter(watched, event);
}

// -------------------------------------------------------------- creation

void TForm1::fillPickList(QComboBox *combo, const QString &type, int count, const QString &selected)
{
    for (int i = 1; i <= count; ++i)
        combo->addItem(DictItemText(type, i));
    selectItemText(combo, selected);
}

void TForm1::FormCreate()
{
    // While the program runs, every date reads yyyy-MM-dd.
    savedShortDate_ = platform::readUserShortDate();
    platform::writeUserShortDate("yyyy-MM-dd");
    platform::broadcastSettingChange();

    PageControl1->setCurrentIndex(0);
    programDir_ = platform::programDirectory(QCoreApplication::applicationDirPath());
    saveDialogFolder_ = programDir_;
    page.Button6->setEnabled(false);
    for (RecordList *l : lists_)
        l->saveButton()->setEnabled(false);
    setStatusPath(programDir_);

    fillPickList(page.W_sex, dict::Sex, 2);
    page.W_sex->setEnabled(false);
    const QDate today = QDate::currentDate();
    page.W_birth->setDate(today);
    page.W_birth->setEnabled(false);
    for (QDateEdit *d : {page.W_work, page.W_rzsj, page.W_bysj, page.W_qfrq})
        d->setDate(today);
    for (RecordList *l : lists_)
        for (size_t i = 0; i < l->def().fields.size(); ++i)
            if (auto *d = qobject_cast<QDateEdit *>(l->field(int(i))))
                d->setDate(today);

    fillPickList(page.W_nation, dict::Nation, 56);
    fillPickList(page.W_id, dict::IdType, 4, ResidentIdCard);
    fillPickList(page.W_zyzw, dict::Title, 5);
    fillPickList(page.W_zgqd, dict::Qualification, 2, QStringLiteral("考试"));
    fillPickList(page.W_xueli, dict::Education, 7);
    fillPickList(page.W_xuewei, dict::Degree, 4);
    fillPickList(qobject_cast<QComboBox *>(list(ContinuingEducation).field(QStringLiteral("W_jylx"))), dict::CourseType, 2);
    fillPickList(qobject_cast<QComboBox *>(list(CreditRecord).field(QStringLiteral("W_xycls"))), dict::RewardPenalty, 2);

    for (RecordList *l : lists_)
        l->writeHeadings();
    cleared_ = saved_ = held();
}

// ------------------------------------------------------------- commands

void TForm1::Label1Click()
{
    if (!mayDiscard(QuestionNewUnsaved))
        return;
    try {
        currentPath_ = programDir_ + QStringLiteral("Tamsor") + formatDate(QDate::currentDate()) + u'-' +
                       RandomDigits() + QStringLiteral(".xml");
        setStatusPath(currentPath_);
        PageControl1->setCurrentIndex(0);
        ClearAllFields();
        page.Button6->setEnabled(false);
        for (RecordList *l : lists_)
            l->saveButton()->setEnabled(false);
        saved_ = cleared_;
        page.W_name->setFocus();
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

bool TForm1::documentExists() const { return !currentPath_.isEmpty() && QFile::exists(currentPath_); }

// ------------------------------------------------------- unsaved changes

Declaration TForm1::held() const { return {page.values(), listRows()}; }

FileState TForm1::fileState() const
{
    if (!documentExists())
        return FileState::NotSaved;
    return held() == saved_ ? FileState::Same : FileState::Differs;
}

bool TForm1::hasUnsavedChanges() const
{
    for (const RecordList *l : lists_)
        if (l->inEditMode())
            return true;
    // Without a file, anything typed since the window was cleared counts.
    if (!documentExists())
        return held() != cleared_;
    return fileState() == FileState::Differs;
}

bool TForm1::mayDiscard(const QString &question)
{
    return !hasUnsavedChanges() || prompts_.question(this, question);
}

// ----------------------------------------------------------------- leaving

QString TForm1::exitQuestion() const
{
    return documentExists() && !hasUnsavedChanges() ? QuestionExit : QuestionExitUnsaved;
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
    const bool exists = documentExists();
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
    if (QFile::exists(QStringLiteral("help.chm")))
        QFile::remove(QStringLiteral("help.chm"));
    // Only a format that was really read is written back; an empty one would
    // damage the user's own setting.
    if (savedShortDate_ && !savedShortDate_->empty()) {
        platform::writeUserShortDate(*savedShortDate_);
        platform::broadcastSettingChange();
    }
    savedShortDate_.reset();
    // Leave the event loop without closing the windows: closing them would run
    // the close query and ask a second time. (Without a running loop there is
    // nothing to leave, and exit() would end the next loop before it starts.)
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

QString TForm1::RandomDigits()
{
    std::srand(unsigned(std::time(nullptr)));
    return QStringLiteral("%1").arg(std::rand() % 10000, 4, 10, QLatin1Char('0'));
}

QString TForm1::NewRecordId() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }

void TForm1::RemoveGridRow(RecordGrid *grid, int row) { grid->removeGridRow(row); }

void TForm1::ClearAllFields()
{
    const QDate today = QDate::currentDate();
    page.W_name->clear();
    page.W_birth->setDate(today);
    page.W_birth->setEnabled(false);
    page.W_cer->clear();
    selectItemText(page.W_id, ResidentIdCard);
    page.W_nation->setCurrentIndex(-1);
    page.W_sex->setCurrentIndex(-1);
    page.W_sex->setEnabled(false);
    page.W_tel->setMaskText(QString());
    page.W_work->setDate(today);
    page.W_zyzw->setCurrentIndex(-1);
    page.W_gznx->setMaskText(QString());
    page.W_rzsj->setDate(today);
    selectItemText(page.W_zgqd, QStringLiteral("考试"));
    page.W_qfrq->setDate(today);
    page.W_zgid->clear();
    page.W_school->clear();
    page.W_bysj->setDate(today);
    page.W_xueli->setCurrentIndex(-1);
    page.W_xuewei->setCurrentIndex(-1);
    page.W_zhy->clear();
    page.updateIdHint();
    for (RecordList *l : lists_)
        l->clearAll();
    cleared_ = held();
}

// ------------------------------------------------------- first tab rules

void TForm1::W_idChange()
{
    const bool residentCard = page.W_id->currentText().trimmed() == ResidentIdCard;
    page.W_birth->setEnabled(!residentCard);
    page.W_sex->setEnabled(!residentCard);
    page.updateIdHint();
}

void TForm1::W_cerExit()
{
    page.updateIdHint();  // a hint only: the rule below runs as it always has
    if (!page.isResidentIdCard())
        return;
    const IdNumberResult result = parseIdNumber(page.W_cer->text());
    if (result.outcome == IdNumberResult::WrongLength) {
        prompts_.message(this, MsgIdLength);
        page.W_cer->setFocus();
        return;
    }
    selectItemText(page.W_sex, result.sex);
    if (result.outcome == IdNumberResult::BadDate) {
        prompts_.message(this, MsgIdDate);
        page.W_cer->setFocus();
        page.W_cer->selectAll();
        return;
    }
    page.W_birth->setDate(result.birthDate);
}

void TForm1::W_nameChange() { page.Button6->setEnabled(true); }

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

void TForm1::saveList(ListId id)
{
    if (list(id).save())
        saved_.lists[size_t(id)] = list(id).rows();
}

// ------------------------------------------------------------ ListHost

QString TForm1::applicantName() const { return page.W_name->text(); }

void TForm1::showApplicantName()
{
    PageControl1->setCurrentIndex(0);
    page.W_name->setFocus();
}

void TForm1::showSavedPath() { setStatusPath(currentPath_); }

void TForm1::setStatusPath(const QString &path) { statusPanels_[1]->setText(StatusPathPrefix + path); }

QString TForm1::statusText(int panel) const { return statusPanels_[panel]->text(); }

}  // namespace varnok
