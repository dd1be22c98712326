// A child process for the recovery tests: a real main window with its
// recovery copy, to be killed.
//   recoverytool type <folder> <log> <seed> <document> <interval ms>
//       types at random into every field and list, now and then saves to
//       <document>, opens it or starts afresh, forever; logs each state the
//       window reaches and each write and removal of the copy
//   recoverytool hold <folder>
//       types a name, writes the copy, prints "ready" and waits
// Log lines: "S <n> <ms> <digest>" state n reached; "w", "W" a write of the
// copy begins, has ended; "r", "R" its removal begins, has ended; each with
// the number of the state then and the milliseconds since the start.
#include "fakeprompts.h"
#include "listcontrols.h"
#include "windowstates.h"

#include "app/mainwindow.h"
#include "app/recoverykeeper.h"
#include "document/basicfields.h"
#include "widgets/fields.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

using namespace varnok;

namespace {

class Typist {
public:
    Typist(TForm1 &form, FakePrompts &prompts, RecoveryKeeper &keeper, const QString &logPath, quint32 seed,
           QString document)
        : form_(form), prompts_(prompts), random_(seed), document_(std::move(document)), log_(logPath)
    {
        clock_.start();
        if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            qFatal("cannot write %s", qPrintable(logPath));
        QObject::connect(&keeper, &RecoveryKeeper::aboutToWrite, [this] { event('w'); });
        QObject::connect(&keeper, &RecoveryKeeper::written, [this] { event('W'); });
        QObject::connect(&keeper, &RecoveryKeeper::aboutToRemove, [this] { event('r'); });
        QObject::connect(&keeper, &RecoveryKeeper::removed, [this] { event('R'); });
        logState();
    }

    // Entries enough in every list that a copy takes a while to write.
    void fillLists(int entries)
    {
        for (int l = 0; l < ListCount; ++l)
            for (int n = 0; n < entries; ++n) {
                const ListControls list{&form_, ListId(l)};
                for (size_t f = 0; f < list.def().fields.size(); ++f)
                    put(list.field(int(f)), true);
                list.addButton()->click();
                logState();
            }
    }

    void step()
    {
        prompts_.clear();
        prompts_.answers.clear();
        prompts_.files.clear();
        // In ten thousandths: mostly typing, now and then a save, rarely
        // "打开" or "新建".
        const int pick = random_.bounded(10000);
        if (pick < 3000)
            putBasic();
        else if (pick < 6000)
            putEntry();
        else if (pick < 7000)
            anyList().addButton()->click();
        else if (pick < 7800)
            clickGrid(true);
        else if (pick < 8200)
            clickGrid(false);
        else if (pick < 8700)
            form_.findChild<QTabWidget *>(QStringLiteral("PageControl1"))->setCurrentIndex(random_.bounded(5));
        else if (pick < 9000)
            chooseIdType();
        else if (pick < 9100)
            anyList().saveButton()->click();
        else if (pick < 9105)
            save();
        else if (pick < 9107)
            open();
        else if (pick < 9108)
            startAfresh();
        // else: a pause, nothing typed
        logState();
    }

private:
    QString text(bool memo)
    {
        // Blanks, markup characters, Chinese in and outside GB2312.
        static const QStringList letters{"a",
                                         "b",
                                         " ",
                                         "Z",
                                         "0",
                                         "9",
                                         "王",
                                         "堃",
                                         "李",
                                         "申",
                                         "&",
                                         "<",
                                         ">",
                                         "\"",
                                         "'",
                                         "\t",
                                         QString::fromUcs4(U"\U00020000")};
        QString out;
        const int length = random_.bounded(100) < 3 ? random_.bounded(2000, 20000) : random_.bounded(0, 14);
        for (int i = 0; i < length; ++i)
            out +=
                memo && random_.bounded(20) == 0 ? QStringLiteral("\n") : letters[random_.bounded(int(letters.size()))];
        return out;
    }

    void put(QWidget *control, bool filled = false)
    {
        if (auto *mask = qobject_cast<MaskEdit *>(control)) {
            QString digits;
            for (int i = 0; i < mask->positions(); ++i)
                digits += random_.bounded(4) == 0 && !filled ? u' ' : QChar(u'0' + random_.bounded(10));
            mask->setMaskText(digits);
        } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            edit->setText(filled ? QStringLiteral("填") + text(false) : text(false));
        } else if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) {
            memo->setPlainText(filled ? QString(1000, u'备') : text(true));
        } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
            combo->setCurrentIndex(filled ? 0 : random_.bounded(-1, combo->count()));
        } else if (auto *date = qobject_cast<QDateEdit *>(control)) {
            date->setDate(QDate(1980, 1, 1).addDays(filled ? 0 : random_.bounded(16000)));
        }
    }

    void putBasic()
    {
        const auto &fields = basicFields();
        put(form_.findChild<QWidget *>(fields[size_t(random_.bounded(int(fields.size())))].control));
    }

    ListControls anyList() { return {&form_, ListId(random_.bounded(int(ListCount)))}; }

    void putEntry()
    {
        const ListControls list = anyList();
        put(list.field(random_.bounded(int(list.def().fields.size()))));
    }

    void clickGrid(bool edit)
    {
        const ListControls list = anyList();
        if (list.entryCount() < 1)
            return;
        list.grid()->setCurrentCell(edit ? list.def().editColumn() : list.def().deleteColumn(),
                                    random_.bounded(1, list.entryCount() + 1));
        emit list.grid()->gridClicked();
    }

    void chooseIdType()
    {
        auto *type = form_.findChild<QComboBox *>(QStringLiteral("W_id"));
        type->setCurrentIndex(random_.bounded(type->count()));
        emit type->activated(type->currentIndex());
    }

    // The first tab made to pass the checks, then saved: to the document,
    // never to a file the program names itself.
    void save()
    {
        auto set = [this](const char *name, const QString &value) {
            setControlValue(form_.findChild<QWidget *>(QLatin1String(name)), value);
        };
        set("W_id", QStringLiteral("身份证"));
        form_.W_idChange();
        set("W_name", QStringLiteral("王堃"));
        set("W_cer", QStringLiteral("110105198503071234"));
        form_.W_cerExit();
        set("W_nation", QStringLiteral("汉族"));
        set("W_tel", QStringLiteral("13800000000"));
        set("W_zyzw", QStringLiteral("工程师"));
        set("W_gznx", QStringLiteral("09"));
        set("W_zgid", QStringLiteral("ZG2012-0001"));
        set("W_school", QStringLiteral("同济大学"));
        set("W_xueli", QStringLiteral("大学本科毕业"));
        set("W_xuewei", QStringLiteral("学士"));
        set("W_zhy", QStringLiteral("土木工程"));
        if (form_.currentDocumentPath() == document_) {
            form_.Button6Click();
        } else {
            prompts_.files << document_;
            form_.Label44Click();
        }
    }

    void open()
    {
        if (!QFile::exists(document_))
            return;
        prompts_.answers << true;
        prompts_.files << document_;
        form_.Label12Click();
    }

    void startAfresh()
    {
        prompts_.answers << true;
        form_.Label1Click();
    }

    void logState()
    {
        line(QStringLiteral("S %1 %2 %3")
                 .arg(++state_)
                 .arg(clock_.elapsed())
                 .arg(QString::fromLatin1(stateDigest(form_.windowState()))));
    }

    void event(char kind) { line(QStringLiteral("%1 %2 %3").arg(QLatin1Char(kind)).arg(state_).arg(clock_.elapsed())); }

    // One write each: on its way to the file before anything else happens.
    void line(const QString &text) { log_.write((text + u'\n').toUtf8()); }

    TForm1 &form_;
    FakePrompts &prompts_;
    QRandomGenerator random_;
    QString document_;
    QFile log_;
    QElapsedTimer clock_;
    int state_ = -1;
};

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    FakePrompts prompts;
    TForm1 form(prompts);
    if (args.size() == 3 && args[1] == "hold") {
        RecoveryKeeper keeper(form, prompts, args[2]);
        setControlValue(form.findChild<QWidget *>(QStringLiteral("W_name")), QStringLiteral("另一个窗口"));
        keeper.check();
        if (!keeper.folder().hasCopy())
            return 1;
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (args.size() == 7 && args[1] == "type") {
        RecoveryKeeper keeper(form, prompts, args[2]);
        keeper.setInterval(std::chrono::milliseconds(args[6].toInt()));
        Typist typist(form, prompts, keeper, args[3], args[4].toUInt(), args[5]);
        typist.fillLists(30);
        QTimer typing;
        QObject::connect(&typing, &QTimer::timeout, [&typist] { typist.step(); });
        typing.start(1);
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    return 2;
}
