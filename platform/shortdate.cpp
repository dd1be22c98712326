#include "shortdate.h"

#include "platform/runlock.h"
#include "platform/userlocale.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

namespace varnok::platform {

namespace {

const QString KeptName = QStringLiteral("user-short-date.txt");
const QString RunPrefix = QStringLiteral("run-");
const QString LockSuffix = QStringLiteral(".lock");

std::optional<std::string> readKept(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.read(ShortDateBufferSize).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return text.toStdString();
}

bool writeKept(const QString &path, const std::string &format)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArray::fromStdString(format) + '\n');
    return file.commit();
}

void announce(const std::string &format)
{
    writeUserShortDate(format);
    broadcastSettingChange();
}

}  // namespace

ShortDateSwitch::ShortDateSwitch(QString folder) : folder_(std::move(folder)) {}

ShortDateSwitch::~ShortDateSwitch() = default;

QString ShortDateSwitch::defaultFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("short-date"));
}

QString ShortDateSwitch::keptPath() const { return QDir(folder_).filePath(KeptName); }

bool ShortDateSwitch::othersRunning() const
{
    const QDir dir(folder_);
    for (const QString &name : dir.entryList({RunPrefix + u'*' + LockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString path = dir.absoluteFilePath(name);
        if (lock_ && path == QFileInfo(lock_->fileName()).absoluteFilePath())
            continue;
        // A lock that can be taken belongs to a run that has ended.
        if (auto ended = tryLockForThisRun(path))
            ended->unlock();
        else if (QFileInfo::exists(path))
            return true;
    }
    return false;
}

std::string ShortDateSwitch::begin(const std::string &programFormat)
{
    std::string user = readUserShortDate();
    if (!folder_.isEmpty() && QDir().mkpath(folder_)) {
        const bool others = othersRunning();
        lock_ = tryLockForThisRun(
            QDir(folder_).filePath(RunPrefix + QUuid::createUuid().toString(QUuid::Id128) + LockSuffix));
        if (const auto kept = readKept(keptPath())) {
            // Left by runs that have all ended: the user's own goes back at
            // once; while another still runs, it is still the user's own.
            if (!others)
                announce(*kept);
            user = *kept;
        } else if (!user.empty() && !writeKept(keptPath(), user)) {
            // Nowhere to keep it: it is kept in memory, as before.
        }
    }
    user_ = user;
    announce(programFormat);
    return user;
}

void ShortDateSwitch::end()
{
    if (!user_)
        return;
    const bool others = !folder_.isEmpty() && othersRunning();
    if (!others) {
        if (!user_->empty())
            announce(*user_);
        if (!folder_.isEmpty())
            QFile::remove(keptPath());
    }
    user_.reset();
    lock_.reset();
}

}  // namespace varnok::platform
