// The main window on screens of three sizes at five scalings. Each row runs
// this program once more as a real window (the offscreen platform given the
// screen, QT_SCALE_FACTOR the scaling: both are read before the application
// object exists), which reports its frame and every control it cannot bring
// into view or whose frame is not drawn whole; and places the window once
// more with a Windows title bar and taskbar, which that screen lacks.
#include "fakeprompts.h"

#include "app/appearance.h"
#include "app/mainwindow.h"
#include "app/screenfit.h"
#include "widgets/commandlabel.h"
#include "widgets/fields.h"

#include <QAbstractScrollArea>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

using namespace varnok;

namespace {

QJsonArray json(const QRect &r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect rect(const QJsonValue &v) { return {v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt()}; }

// The frame's line is darker than the window at the middle of each edge.
bool framed(const QImage &shot, QRect r, int window)
{
    const qreal k = shot.devicePixelRatio();
    const QRect d(QPoint(int(r.left() * k), int(r.top() * k)),
                  QPoint(int(std::ceil((r.right() + 1) * k)) - 1, int(std::ceil((r.bottom() + 1) * k)) - 1));
    const QPoint m = d.center(), edges[4][2] = {{{d.left(), m.y()}, {1, 0}},
                                                {{d.right(), m.y()}, {-1, 0}},
                                                {{m.x(), d.top()}, {0, 1}},
                                                {{m.x(), d.bottom()}, {0, -1}}};
    for (const auto &[from, step] : edges) {
        int least = 255;
        for (int i = 0; i < 3; ++i)
            least = std::min(least, QColor(shot.pixel(from + step * i)).lightness());
        if (least > window - 20)
            return false;
    }
    return true;
}

int probe(int argc, char **argv)
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    applyAppearance();
    FakePrompts prompts;
    TForm1 form(prompts);
    form.show();
    QApplication::setActiveWindow(&form);
    if (!QTest::qWaitForWindowActive(&form))
        return 2;
    QTest::qWait(50);  // a refit after showing, should there be one
    auto *scroll = form.findChild<QScrollArea *>("ClientScroll");
    auto *tabs = form.findChild<QTabWidget *>("PageControl1");
    QWidget *view = scroll->viewport(), *client = scroll->widget();
    // A valid number, so that leaving the field does not call the focus back.
    setControlValue(form.findChild<QWidget *>("W_cer"), "110105198503071234");
    QJsonArray bad;
    for (int t = 0; t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        const QImage shot = client->grab().toImage();
        for (QAbstractScrollArea *area : tabs->widget(t)->findChildren<QAbstractScrollArea *>())
            if (area->frameShape() != QFrame::NoFrame && area->isVisible() &&
                !framed(shot, QRect(area->mapTo(client, QPoint()), area->size()),
                        client->palette().color(QPalette::Window).lightness()))
                bad << "frame of " + area->objectName();
    }
    for (QWidget *w : client->findChildren<QWidget *>()) {
        if (!w->objectName().startsWith("W_") && !w->objectName().startsWith("Button") &&
            !qobject_cast<CommandLabel *>(w))
            continue;
        for (int t = 0; t < tabs->count(); ++t)
            if (tabs->widget(t)->isAncestorOf(w))
                tabs->setCurrentIndex(t);
        // The focus brings a control into view; a disabled one is brought.
        if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            w->setFocus(Qt::TabFocusReason);
        else
            form.bringIntoView(w);
        QApplication::processEvents();
        const QRect shown(w->mapTo(view, QPoint()), w->size());
        if (shown.width() <= view->width() && shown.height() <= view->height() ? !view->rect().contains(shown)
                                                                               : !view->rect().intersects(shown))
            bad << w->objectName();
    }
    if (!form.rect().contains(QRect(form.statusBar()->mapTo(&form, QPoint()), form.statusBar()->size())))
        bad << "StatusBar1";
    const QJsonObject out{
        {"available", json(form.screen()->availableGeometry())},
        {"frame", json(form.frameGeometry())},
        {"client", json(form.geometry())},
        {"scrolls", scroll->horizontalScrollBar()->maximum() + scroll->verticalScrollBar()->maximum() > 0},
        {"bad", bad}};
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}

QStringList table;  // the figures of every row, printed at the end

}  // namespace

class TestScreenFit : public QObject {
    Q_OBJECT
private slots:
    void windowFitsTheScreen_data();
    void windowFitsTheScreen();
    void cleanupTestCase()
    {
        qInfo("\n| screen | scaling | frame with a Windows title bar and taskbar | | real window offscreen | |\n"
              "|---|---|---|---|---|---|\n%s",
              qPrintable(table.join('\n')));
    }
};

void TestScreenFit::windowFitsTheScreen_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("scrollsOnWindows");
    QTest::addColumn<bool>("scrollsHere");  // the whole screen, a 2-pixel frame
    const QSize screens[] = {{1366, 768}, {1920, 1080}, {2560, 1440}};
    const double scales[] = {1, 1.25, 1.5, 1.75, 2};
    // By screen, then scaling: from where on the window no longer fits.
    const int scrollsFromWindows[] = {1, 2, 4}, scrollsFromHere[] = {1, 3, 5};
    for (int s = 0; s < 3; ++s)
        for (int k = 0; k < 5; ++k)
            QTest::addRow("%dx%d at %d%%", screens[s].width(), screens[s].height(), int(scales[k] * 100))
                << scales[k] << screens[s] << (k >= scrollsFromWindows[s]) << (k >= scrollsFromHere[s]);
}

void TestScreenFit::windowFitsTheScreen()
{
    QFETCH(double, scale);
    QFETCH(QSize, screen);
    QFETCH(bool, scrollsOnWindows);
    QFETCH(bool, scrollsHere);
    const QSize wanted = TForm1::SpecifiedSize;
    const QMargins windowsFrame(8, 31, 8, 8);
    const QRect workArea(0, 0, int(screen.width() / scale), int(screen.height() / scale) - 40);
    const WindowFit windows = fitWindow(wanted, workArea, windowsFrame, 16);
    QVERIFY(workArea.contains(windows.frame(windowsFrame)));
    QCOMPARE(windows.scrolls(), scrollsOnWindows);
    QVERIFY(windows.scrolls() || windows.geometry.size() == wanted);

    QTemporaryDir dir;
    QFile config(dir.filePath("screen.json"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{QJsonObject{{"name", "screen"},
                                                                              {"width", screen.width()},
                                                                              {"height", screen.height()}}}}})
                     .toJson());
    config.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=screen.json");  // relative: options are split at colons
    env.insert("QT_SCALE_FACTOR", QString::number(scale));
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(), {"--probe"});
    QVERIFY(child.waitForFinished(180000));  // a hang, not a time limit
    QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
    const QJsonObject out = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
    const QRect available = rect(out["available"]), frame = rect(out["frame"]), client = rect(out["client"]);
    QVERIFY(std::abs(available.width() * scale - screen.width()) <= 1);  // the screen and scaling asked for
    QVERIFY(available.contains(frame));
    const bool holds =
        (wanted + frame.size() - client.size()).boundedTo(available.size()) == wanted + frame.size() - client.size();
    QCOMPARE(out["scrolls"].toBool(), !holds);
    QCOMPARE(out["scrolls"].toBool(), scrollsHere);
    QVERIFY(!holds || client.size() == wanted);
    QCOMPARE(out["bad"].toArray(), QJsonArray());

    auto pixels = [scale](QSize s) {
        return QString("%1x%2").arg(qRound(s.width() * scale)).arg(qRound(s.height() * scale));
    };
    table << QString("| %1x%2 | %3 % | %4 | %5 | %6 | %7 |")
                 .arg(screen.width())
                 .arg(screen.height())
                 .arg(int(scale * 100))
                 .arg(pixels(windows.frame(windowsFrame).size()), windows.scrolls() ? "scrolls" : "fits",
                      pixels(frame.size()), out["scrolls"].toBool() ? "scrolls" : "fits");
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--probe") == 0)
        return probe(argc, argv);
    QCoreApplication app(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenfit.moc"
