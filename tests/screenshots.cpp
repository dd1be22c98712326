// Makes the README's pictures: the splash and each of the five tabs of the
// main window, filled with an example declaration through the window's own
// controls and buttons and saved, as a user would. Then something more is
// typed and the window's recovery copy left behind as by a crash, for the
// program started next (scripts/screenshots.sh) to offer it.
//
//   varnok_screenshots OUTPUT_FOLDER
//
// Run it through scripts/screenshots.sh, which starts it under Xvfb.
#include "exampledeclaration.h"

#include "app/mainwindow.h"
#include "app/recoverykeeper.h"
#include "app/splash.h"
#include "widgets/fields.h"
#include "widgets/recordgrid.h"

#include "app/appearance.h"
#include "app/language.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

    if (argc != 2)
        die(QStringLiteral("usage: varnok_screenshots OUTPUT_FOLDER"));
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
    QFile::remove(file);
    folder.rmdir(QStringLiteral("."));
    if (prompts.messages() != QStringList{QStringLiteral("文件保存成功！")} || !prompts.errors().isEmpty())
        die(QStringLiteral("saving failed: %1").arg((prompts.messages() + prompts.errors()).join(u' ')));

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
