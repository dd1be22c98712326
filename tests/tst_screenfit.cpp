// The main window on screens of three sizes at five scalings. Each row starts
// this program once more as a real window (Qt's offscreen platform given the
// screen's size, QT_SCALE_FACTOR the scaling: both must be set before the
// application object), which reports its frame and which controls it could
// not bring into view; and the same placement with a Windows frame and
// taskbar, which the offscreen screen does not have. The real window also
// shows whether the frames of its memos and grids are drawn whole.
#include "fakeprompts.h"

#include "app/appearance.h"
#include "app/mainwindow.h"
#include "app/screenfit.h"
#include "widgets/commandlabel.h"

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
#include <cmath>
#include <cstdio>

using namespace varnok;

namespace {

QJsonArray rectJson(const QRect &r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect jsonRect(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

// The window as it came up on its screen, and every control it cannot show
// by giving it the focus or, where it takes none (a disabled field), by
// bringing it into view.
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

    auto *scroll = form.findChild<QScrollArea *>(QStringLiteral("ClientScroll"));
    auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QWidget *viewport = scroll->viewport();
    QJsonArray unreachable;
    int controls = 0;
    for (QWidget *control : scroll->widget()->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (!name.startsWith(QLatin1String("W_")) && !name.startsWith(QLatin1String("Button")) &&
            !qobject_cast<CommandLabel *>(control))
            continue;
        ++controls;
        for (int t = 0; t < tabs->count(); ++t)
            if (tabs->widget(t)->isAncestorOf(control))
                tabs->setCurrentIndex(t);
        if (control->isEnabled() && (control->focusPolicy() & Qt::TabFocus)) {
            control->setFocus(Qt::TabFocusReason);
        } else {
            form.bringIntoView(control);
        }
        QApplication::processEvents();
        const QRect shown(control->mapTo(viewport, QPoint(0, 0)), control->size());
        const bool fitsViewport = shown.width() <= viewport->width() && shown.height() <= viewport->height();
        if (fitsViewport ? !viewport->rect().contains(shown) : !viewport->rect().intersects(shown))
            unreachable << name;
    }
    // The frames of the memos and grids, drawn whole: a line darker than the
    // window on each of the four edges, tab by tab as each shows.
    QJsonArray frameless;
    QWidget *client = scroll->widget();
    const int window = client->palette().color(QPalette::Window).lightness();
    for (int t = 0; t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        const QImage shot = client->grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        for (QAbstractScrollArea *area : tabs->widget(t)->findChildren<QAbstractScrollArea *>()) {
            if (area->frameShape() == QFrame::NoFrame || !area->isVisible())
                continue;
            const QRectF r = QRectF(QRect(area->mapTo(client, QPoint(0, 0)), area->size()));
            const QRect d(QPoint(int(r.left() * ratio), int(r.top() * ratio)),
                          QPoint(int(std::ceil(r.right() * ratio)) - 1, int(std::ceil(r.bottom() * ratio)) - 1));
            auto darkest = [&](QPoint from, QPoint step) {
                int least = 255;
                for (int i = 0; i < 3; ++i)
                    least = std::min(least, QColor(shot.pixel(from + step * i)).lightness());
                return least;
            };
            const QPoint mid = d.center();
            const int edges[] = {darkest({d.left(), mid.y()}, {1, 0}), darkest({d.right(), mid.y()}, {-1, 0}),
                                 darkest({mid.x(), d.top()}, {0, 1}), darkest({mid.x(), d.bottom()}, {0, -1})};
            for (int edge : edges)
                if (edge > window - 20) {
                    frameless << area->objectName();
                    break;
                }
        }
    }
    QStatusBar *status = form.statusBar();
    const QRect statusShown(status->mapTo(&form, QPoint(0, 0)), status->size());
    const QJsonObject out{
        {"available", rectJson(form.screen()->availableGeometry())},
        {"frame", rectJson(form.frameGeometry())},
        {"client", rectJson(form.geometry())},
        {"scrollsH", scroll->horizontalScrollBar()->maximum() > 0},
        {"scrollsV", scroll->verticalScrollBar()->maximum() > 0},
        {"statusShown", form.rect().contains(statusShown)},
        {"status", rectJson(statusShown)},
        {"controls", controls},
        {"unreachable", unreachable},
        {"frameless", frameless},
    };
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fflush(stdout);
    return 0;
}

// The figures of every row, printed as a table at the end.
QStringList &table()
{
    static QStringList lines;
    return lines;
}

}  // namespace

class TestScreenFit : public QObject {
    Q_OBJECT
private slots:
    void windowFitsTheScreen_data();
    void windowFitsTheScreen();
    void cleanupTestCase();
};

void TestScreenFit::windowFitsTheScreen_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("scrollsOnWindows");  // with a title bar and a 40-pixel taskbar
    QTest::addColumn<bool>("scrollsHere");       // offscreen: the whole screen, a 2-pixel frame
    const QSize screens[] = {{1366, 768}, {1920, 1080}, {2560, 1440}};
    const double scales[] = {1, 1.25, 1.5, 1.75, 2};
    // Rows by screen, columns by scaling.
    const bool onWindows[3][5] = {{false, true, true, true, true},
                                  {false, false, true, true, true},
                                  {false, false, false, false, true}};
    const bool here[3][5] = {{false, true, true, true, true},
                             {false, false, false, true, true},
                             {false, false, false, false, false}};
    for (int s = 0; s < 3; ++s)
        for (int k = 0; k < 5; ++k)
            QTest::addRow("%dx%d at %d%%", screens[s].width(), screens[s].height(), int(scales[k] * 100))
                << scales[k] << screens[s] << onWindows[s][k] << here[s][k];
}

void TestScreenFit::windowFitsTheScreen()
{
    QFETCH(double, scale);
    QFETCH(QSize, screen);
    QFETCH(bool, scrollsOnWindows);
    QFETCH(bool, scrollsHere);
    const QSize wanted = TForm1::SpecifiedSize;

    // Windows: a title bar and borders, and the taskbar off the work area,
    // both the same in device-independent pixels at every scaling.
    const QMargins windowsFrame(8, 31, 8, 8);
    const QRect workArea(0, 0, int(screen.width() / scale), int(screen.height() / scale) - 40);
    const WindowFit windows = fitWindow(wanted, workArea, windowsFrame, 16);
    QVERIFY(workArea.contains(windows.frame(windowsFrame)));
    QCOMPARE(windows.scrolls(), scrollsOnWindows);
    if (!windows.scrolls())
        QCOMPARE(windows.geometry.size(), wanted);

    // The real window.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile config(dir.filePath("screen.json"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    const QJsonObject screenConfig{{"name", "screen"}, {"x", 0}, {"y", 0}, {"width", screen.width()},
                                   {"height", screen.height()}};
    config.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{screenConfig}}}).toJson());
    config.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A relative path: the platform's options are separated by colons.
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=screen.json");
    env.insert("QT_SCALE_FACTOR", QString::number(scale));
    env.remove("QT_SCREEN_SCALE_FACTORS");
    env.remove("QT_ENABLE_HIGHDPI_SCALING");
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(), {"--probe"});
    QVERIFY(child.waitForFinished(180000));  // a hang, not a time limit
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(child.readAllStandardError()));
    const QJsonObject out = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
    const QRect available = jsonRect(out["available"]);
    const QRect frame = jsonRect(out["frame"]);
    const QRect client = jsonRect(out["client"]);
    const bool scrolled = out["scrollsH"].toBool() || out["scrollsV"].toBool();
    QVERIFY(std::abs(available.width() * scale - screen.width()) <= 1);  // the screen and scaling asked for

    QVERIFY2(available.contains(frame), qPrintable(QString("frame %1,%2 %3x%4")
                                                       .arg(frame.x())
                                                       .arg(frame.y())
                                                       .arg(frame.width())
                                                       .arg(frame.height())));
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
    const bool holds = wanted.width() + margins.left() + margins.right() <= available.width() &&
                       wanted.height() + margins.top() + margins.bottom() <= available.height();
    QCOMPARE(scrolled, !holds);
    QCOMPARE(scrolled, scrollsHere);
    if (holds)
        QCOMPARE(client.size(), wanted);
    QVERIFY2(out["statusShown"].toBool(), QJsonDocument(out).toJson().constData());
    QVERIFY(out["controls"].toInt() > 60);
    QCOMPARE(out["unreachable"].toArray(), QJsonArray());
    QCOMPARE(out["frameless"].toArray(), QJsonArray());

    auto physical = [scale](QSize s) {
        return QString("%1x%2").arg(std::lround(s.width() * scale)).arg(std::lround(s.height() * scale));
    };
    table() << QString("| %1 | %2 % | %3 | %4 | %5 | %6 |")
                   .arg(QString("%1x%2").arg(screen.width()).arg(screen.height()))
                   .arg(int(scale * 100))
                   .arg(physical(windows.frame(windowsFrame).size()))
                   .arg(windows.scrolls() ? "scrolls" : "fits")
                   .arg(physical(frame.size()))
                   .arg(scrolled ? "scrolls" : "fits");
}

void TestScreenFit::cleanupTestCase()
{
    qInfo("\n| screen | scaling | frame with a Windows title bar and taskbar (pixels) | | frame of the real window, "
          "offscreen (pixels) | |\n|---|---|---|---|---|---|\n%s",
          qPrintable(table().join('\n')));
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
