#include "recoverykeeper.h"

#include "app/mainwindow.h"
#include "widgets/guard.h"
#include "widgets/prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace varnok {

namespace {
const QString MsgUnreadable = QStringLiteral("上次未正常退出时留下的未保存内容无法读取，已保留为“%1”。\n%2");
}  // namespace

RecoveryKeeper::RecoveryKeeper(TForm1 &form, Prompts &prompts, const QString &folder, QObject *parent)
    : QObject(parent), form_(form), prompts_(prompts), folder_(folder)
{
    timer_.setInterval(DefaultInterval);
    connect(&timer_, &QTimer::timeout, this, [this] { guard(prompts_, &form_, [this] { check(); }); });
    connect(&form_, &TForm1::bindingChanged, this, [this] {
        if (!form_.hasUnsavedChanges())
            removeCopy();
    });
    connect(&form_, &TForm1::shuttingDown, this, [this] {
        timer_.stop();
        removeCopy();
    });
    timer_.start();
}

QString RecoveryKeeper::defaultFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("recovery"));
}

QString RecoveryKeeper::question(const QDateTime &written, const QString &path)
{
    const QString when = written.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty()
               ? QStringLiteral("上次未正常退出，发现 %1 的未保存内容（尚未保存为文件）。是否恢复？").arg(when)
               : QStringLiteral("上次未正常退出，发现 %1 的未保存内容（文件：%2）。是否恢复？").arg(when, name);
}

void RecoveryKeeper::offer()
{
    guard(prompts_, &form_, [this] { offerCopies(); });
}

void RecoveryKeeper::offerCopies()
{
    std::vector<LeftCopy> left = folder_.takeLeftCopies();
    bool restored = false;
    for (LeftCopy &copy : left) {
        if (restored) {
            copy.keepAside();
            continue;
        }
        RecoveredCopy recovered;
        try {
            recovered = copy.read();
        } catch (const std::exception &e) {
            const QString kept = copy.keepAside();
            prompts_.error(&form_, MsgUnreadable.arg(QDir::toNativeSeparators(kept.isEmpty() ? copy.path() : kept),
                                                     QString::fromUtf8(e.what())));
            continue;
        }
        const QDateTime when = recovered.written.isValid() ? recovered.written : copy.lastModified();
        if (!prompts_.question(&form_, question(when, recovered.state.path))) {
            copy.keepAside();
            continue;
        }
        form_.restoreWindow(recovered.state);
        restored = true;
        // The window's own copy takes its place; should that fail, it is kept
        // aside rather than lost.
        write(form_.windowState());
        if (written_)
            copy.discard();
        else
            copy.keepAside();
    }
}

void RecoveryKeeper::check()
{
    if (form_.hasShutDown())
        return;
    if (!form_.hasUnsavedChanges()) {
        removeCopy();
        return;
    }
    const WindowState state = form_.windowState();
    if (written_ && *written_ == state)
        return;
    write(state);
}

void RecoveryKeeper::write(const WindowState &state)
{
    emit aboutToWrite();
    try {
        folder_.write(state);
    } catch (const std::exception &e) {
        // Tried again at the next interval; the window itself loses nothing.
        written_.reset();
        qWarning("recovery copy not written: %s", e.what());
        return;
    }
    written_ = state;
    emit written();
}

void RecoveryKeeper::removeCopy()
{
    if (folder_.copyPath().isEmpty())
        return;
    emit aboutToRemove();
    folder_.remove();
    written_.reset();
    emit removed();
}

}  // namespace varnok
