// Makes the README's pictures: the splash and each of the five tabs of the
// main window, filled with an example declaration through the window's own
// controls and buttons and saved, as a user would; the desk's window with a
// folder of declarations made from it (and that table as a workbook, for
// scripts/screenshots.sh to show in LibreOffice). Then something more is
// typed and the window's recovery copy left behind as by a crash, for the
// program started next (scripts/screenshots.sh) to offer it.
//
//   varnok_screenshots OUTPUT_FOLDER [WORKBOOK]
//
// Run it through scripts/screenshots.sh, which starts it under Xvfb.
#include "exampledeclaration.h"

#include "app/deskwindow.h"
#include "app/mainwindow.h"
#include "app/recoverykeeper.h"
#include "app/splash.h"
#include "declaration/declarationfile.h"
#include "desk/deskexport.h"
#include "rules/idnumber.h"
#include "widgets/fields.h"
#include "widgets/recordgrid.h"

#include "app/appearance.h"
#include "app/language.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

using namespace varnok;
using namespace example;

namespace {

// Let the window system map, lay out and paint what was shown.
void settle(int ms = 300)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::sendPostedEvents();
    }
}

// A clerk's folder: declarations of the staff made from the example, some
// complete, some not, one with another's identity number, one cut off and an
// address book of another program.
void makeStaffFolder(const QString &example, const QDir &staff)
{
    const Declaration base = DeclarationFile::read(example);
    const auto number = [](const char *first17) {
        const QString first = QString::fromLatin1(first17);
        return first + idCheckCharacter(first);
    };
    struct Person {
        const char *file, *name;
        QString cer;
        const char *sex;
        bool complete;
    };
    const Person people[] = {
        {"林志远.xml", "林志远", base.basic.value(QStringLiteral("W_cer")), "男", true},
        {"陈晓梅.xml", "陈晓梅", number("11010819900305246"), "女", true},
        {"王磊.xml", "王磊", base.basic.value(QStringLiteral("W_cer")), "男", true},
        {"赵敏.xml", "赵敏", number("32010219910716182"), "女", false},
        {"土建科/刘洋.xml", "刘洋", number("32011319881123401"), "男", true},
        {"土建科/孙丽.xml", "孙丽", number("32011419920208162").left(17) + u'5', "女", true},
    };
    for (const Person &p : people) {
        FieldValues values = clearedBasicValues(QDate::currentDate());
        for (auto it = base.basic.cbegin(); it != base.basic.cend(); ++it)
            values[it.key()] = it.value();
        values[QStringLiteral("W_name")] = QString::fromUtf8(p.name);
        values[QStringLiteral("W_cer")] = p.cer;
        values[QStringLiteral("W_sex")] = QString::fromUtf8(p.sex);
        if (!p.complete)
            values[QStringLiteral("W_zgid")].clear();
        const QString path = staff.filePath(QString::fromUtf8(p.file));
        QDir().mkpath(QFileInfo(path).absolutePath());
        DeclarationFile file(&TForm1::NewRecordId);
        file.save({values, p.complete ? base.lists : std::array<ListRows, ListCount>{}}, path);
    }
    QFile cut(staff.filePath(QStringLiteral("张伟（未写完）.xml")));
    QFile whole(example);
    if (!cut.open(QIODevice::WriteOnly) || !whole.open(QIODevice::ReadOnly))
        die(QStringLiteral("cannot write the staff folder"));
    cut.write(whole.read(1500));
    QFile other(staff.filePath(QStringLiteral("通讯录.xml")));
    if (!other.open(QIODevice::WriteOnly))
        die(QStringLiteral("cannot write the staff folder"));
    other.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<通讯录><联系人><姓名>林志远</姓名>"
                               "<电话>13951802467</电话></联系人></通讯录>\n")
                    .toUtf8());
}

void save(const QPixmap &picture, const QString &path)
{
    if (picture.isNull() || !picture.save(path, "PNG"))
        die(QStringLiteral("cannot write %1").arg(path));
    std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnok"));
    QApplication::setQuitOnLastWindowClosed(false);
    varnok::applyChineseLanguage();  // as the program starts
    varnok::applyAppearance();

    if (argc != 2 && argc != 3)
        die(QStringLiteral("usage: varnok_screenshots OUTPUT_FOLDER [WORKBOOK]"));
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        die(QStringLiteral("cannot create %1").arg(out.path()));

    FakePrompts prompts;

    // The splash, before its timer hands over.
    auto *splash = new TForm2(prompts);
    splash->Timer1->stop();
    settle();
    save(splash->grab(), out.filePath(QStringLiteral("splash.png")));
    delete splash;

    TForm1 form(prompts);
    form.show();
    form.activateWindow();
    settle();
    fillDeclaration(form, prompts);

    // Save as a user would: the first save asks for the file name. A fixed
    // folder keeps the path in the status bar the same from run to run.
    const QDir folder(QDir::temp().filePath(QStringLiteral("申报资料")));
    const QString file = folder.filePath(QStringLiteral("林志远申报资料.xml"));
    if (!folder.mkpath(QStringLiteral(".")))
        die(QStringLiteral("cannot create %1").arg(folder.path()));
    QFile::remove(file);
    prompts.files << QDir::toNativeSeparators(file);
    form.Button6Click();
    if (prompts.messages() != QStringList{QStringLiteral("文件保存成功！")} || !prompts.errors().isEmpty())
        die(QStringLiteral("saving failed: %1").arg((prompts.messages() + prompts.errors()).join(u' ')));

    // The desk with a folder of the staff's declarations.
    // Kept beside the workbook, when one is asked for.
    const QDir beside = argc == 3 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteDir() : QDir::temp();
    QDir staff(beside.filePath(QStringLiteral("人事科收集的申报资料")));
    staff.removeRecursively();
    makeStaffFolder(file, staff);
    QFile::remove(file);
    folder.rmdir(QStringLiteral("."));
    form.Label48Click();
    auto *desk = form.findChild<DeskWindow *>(QStringLiteral("DeskWindow"));
    desk->move(form.pos() + QPoint(40, 60));
    desk->check({staff.path()}, staff.path());
    settle(600);
    save(desk->grab(), out.filePath(QStringLiteral("desk-table.png")));
    if (argc == 3)
        writeDeskWorkbook(QString::fromLocal8Bit(argv[2]), desk->rows());
    desk->close();
    if (argc != 3)
        staff.removeRecursively();

    const char *names[] = {"1-basic", "2-work-history", "3-achievements", "4-continuing-education", "5-credit-record"};
    auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        tabs->tabBar()->setFocus();
        settle();
        save(form.grab(), out.filePath(QString::fromLatin1(names[tab]) + QStringLiteral(".png")));
    }

    // A run that ends here without its normal exit leaves its copy.
    tabs->setCurrentIndex(0);
    setControlValue(form.findChild<QWidget *>(QStringLiteral("W_tel")), QStringLiteral("13912345678"));
    RecoveryKeeper keeper(form, prompts, RecoveryKeeper::defaultFolder());
    keeper.check();
    if (!keeper.folder().hasCopy())
        die(QStringLiteral("no recovery copy in %1").arg(keeper.folder().folder()));
    return 0;
}
