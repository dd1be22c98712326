// A child process for tests that need one: saving under another user, into
// a full disk, or while being killed.
//   savetool save <path> <text>         save a small document holding text
//   savetool window <path> <entries>    a main window with every list filled,
//                                       saved to path through its 保存 over and
//                                       over, each time with a new version
//                                       number in the name and in the first
//                                       entry of every list, forever
//   savetool open <path>                load a document, print its element count
//   savetool shortdate <folder>         switch the user's short-date format as
//                                       the program does, print "ready" and the
//                                       user's own format, and wait forever
//   savetool shortdate-now              print the user's short-date format as a
//                                       program started now reads it
#include "fakeprompts.h"
#include "listcontrols.h"

#include "app/mainwindow.h"
#include "platform/shortdate.h"
#include "platform/userlocale.h"
#include "xml/xmldocument.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <memory>

using namespace varnok;

namespace {

XmlDocument documentOf(const QString &text, int copies)
{
    XmlDocument doc;
    doc.startAfresh("1.0", "GB2312", "root");
    XmlElement section = doc.documentElement().addChild("工作简历");
    for (int i = 0; i < copies; ++i)
        section.addChild("备注").setText(text);
    return doc;
}

// Version v of the first entry's first text field, or of the name.
QString version(int v) { return QStringLiteral("版本%1").arg(v); }

// Entry n of a list: every field filled so that the entry checks pass.
QStringList entryOf(ListId list, int n)
{
    const QString text = QStringLiteral("第%1条记录的说明文字，足够长以便保存需要一些时间").arg(n);
    const QString year = QString::number(1990 + n % 30);
    switch (list) {
    case WorkHistory:
        return {text, year + "-01-01", year + "-12-31", text};
    case Achievements:
        return {text, year + "-01-01", year + "-12-31", text, text};
    case ContinuingEducation:
        return {text, n % 2 ? "选修课" : "必修课", year + "-03-04", "12 ", text};
    case CreditRecord:
        return {year + "-05-06", text, n % 2 ? "奖励" : "处罚", text, text};
    default:
        return {};
    }
}

// The first text field of a list's entry (the credit record starts with a date).
int textField(ListId list) { return list == CreditRecord ? 1 : 0; }

[[noreturn]] void saveForever(const QString &path, int entries)
{
    FakePrompts prompts;
    TForm1 form(prompts);
    auto set = [&](const QString &name, const QString &value) {
        setControlValue(form.findChild<QWidget *>(name), value);
    };
    set("W_name", version(0));
    set("W_cer", "320106198604120535");
    form.W_cerExit();
    set("W_nation", "汉族");
    set("W_tel", "13951802467");
    set("W_zyzw", "工程师");
    set("W_gznx", "9");
    set("W_zgid", "ZG2012-0001");
    set("W_school", "东南大学");
    set("W_xueli", "大学本科毕业");
    set("W_xuewei", "学士");
    set("W_zhy", "土木工程");
    for (int l = 0; l < ListCount; ++l) {
        const ListControls list{&form, ListId(l)};
        for (int n = 0; n < entries; ++n) {
            QStringList values = entryOf(ListId(l), n);
            if (n == 0)
                values[textField(ListId(l))] = version(0);
            for (int i = 0; i < values.size(); ++i)
                setControlValue(list.field(i), values[i]);
            list.addButton()->click();
        }
    }
    QPushButton *save = form.findChild<QPushButton *>(QStringLiteral("Button6"));
    prompts.files << path;
    save->click();
    if (!prompts.errors().isEmpty() || !QFile::exists(path)) {
        std::fprintf(stderr, "the first save failed: %s\n",
                     qPrintable(prompts.log.isEmpty() ? QString() : prompts.log.last().text));
        std::exit(1);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (int v = 1;; ++v) {
        // The new version typed into the name and, through 编辑 and 保存修改,
        // into the first entry of every list; then the first tab's 保存.
        set("W_name", version(v));
        for (int l = 0; l < ListCount; ++l) {
            const ListControls list{&form, ListId(l)};
            list.grid()->setCurrentCell(list.def().editColumn(), 1);
            emit list.grid()->gridClicked();
            setControlValue(list.field(textField(ListId(l))), version(v));
            list.addButton()->click();
        }
        prompts.clear();
        save->click();
        if (!prompts.errors().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(prompts.errors().join('\n')));
            std::exit(1);
        }
    }
}

}  // namespace

int main(int argc, char *argv[])
{
    // Widgets only for the window; the rest runs anywhere, as any user.
    const bool window = argc > 1 && QByteArray(argv[1]) == "window";
    // The window needs no screen.
    if (window && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app =
        window ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);  // a full disk shows as a failed write
#endif
    const QStringList args = app->arguments();
    if (args.size() < 2 || (args.size() < 3 && args[1] != "shortdate-now"))
        return 2;
    try {
        if (args[1] == "save") {
            documentOf(args.value(3), 1).save(args[2]);
        } else if (args[1] == "shortdate-now") {
            std::printf("%s\n", platform::readUserShortDate().c_str());
        } else if (args[1] == "shortdate") {
            platform::ShortDateSwitch shortDate(args[2]);
            const std::string user = shortDate.begin("yyyy-MM-dd");
            std::printf("ready %s\n", user.c_str());
            std::fflush(stdout);
            for (;;)
                QThread::sleep(60);
        } else if (args[1] == "window") {
            saveForever(args[2], qMax(1, args.value(3).toInt()));
        } else if (args[1] == "open") {
            XmlDocument doc;
            doc.loadFromFile(args[2]);
            std::printf("%d\n", doc.documentElement().childCount());
        } else {
            return 2;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
