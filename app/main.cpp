// Varnok: prepare the declaration for an initial registration offline.
#include "app/appearance.h"
#include "app/language.h"
#include "app/mainwindow.h"
#include "app/recoverykeeper.h"
#include "app/splash.h"
#include "widgets/prompts.h"

#include <QApplication>
#include <exception>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    varnok::Prompts &prompts = varnok::desktopPrompts();
    try {
        QApplication::setApplicationName(QStringLiteral("varnok"));
        QApplication::setApplicationVersion(QStringLiteral("1.0"));
        QApplication::setQuitOnLastWindowClosed(false);
        varnok::applyChineseLanguage();
        varnok::applyAppearance();

        // The splash comes first; the main window is built hidden behind it,
        // and the splash gives way to it after three seconds.
        auto *splash = new varnok::TForm2(prompts);
        QApplication::processEvents();
        varnok::TForm1 form(prompts, varnok::platform::ShortDateSwitch::defaultFolder());
        splash->setMainWindow(&form);
        // What a run that did not end normally left unsaved is offered once
        // the window is on the screen.
        varnok::RecoveryKeeper keeper(form, prompts, varnok::RecoveryKeeper::defaultFolder());
        QObject::connect(splash, &varnok::TForm2::gaveWay, &keeper, &varnok::RecoveryKeeper::offer,
                         Qt::QueuedConnection);
        app.exec();
    } catch (const std::exception &e) {
        prompts.error(nullptr, QString::fromUtf8(e.what()));
    } catch (...) {
        prompts.error(nullptr, QString());
    }
    return 0;
}
