// Builds the real main window offscreen, opens the document named on the
// command line through "打开" with a scripted file dialog, shows each tab
// once and exits. Run it under /usr/bin/time -v for the peak resident size;
// without a document it opens nothing, which gives the window's own peak.
#include "fakeprompts.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QTabWidget>
#include <cstdio>

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    FakePrompts prompts;
    varnok::TForm1 form(prompts);
    form.show();
    if (argc > 1) {
        prompts.files << QString::fromLocal8Bit(argv[1]);
        form.Label12Click();  // errors escape here rather than into a message box
    }
    auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
    }
    int entries = 0;
    for (const varnok::ListRows &rows : form.held().lists)
        entries += int(rows.size());
    std::printf("entries open: %d\n", entries);
    return 0;
}
