#include "runlock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QSysInfo>

namespace varnok::platform {

namespace {

// Every lock this process has taken. A lock file is removed when its lock is
// released, so one naming this process at a path not among these was left
// by an earlier run whose process number has come round again (after a
// restart, or in Wine at once).
QSet<QString> &takenHere()
{
    static QSet<QString> paths;
    return paths;
}

// This machine as QLockFile names it in its lock files.
QString thisMachine()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("COMPUTERNAME");
#else
    return QSysInfo::machineHostName();
#endif
}

bool leftByAnEarlierRunOfThisNumber(const QLockFile &lock, const QString &path)
{
    qint64 pid = 0;
    QString host, app;
    return lock.error() == QLockFile::LockFailedError && lock.getLockInfo(&pid, &host, &app) &&
           pid == QCoreApplication::applicationPid() && host == thisMachine() && !takenHere().contains(path);
}

}  // namespace

std::unique_ptr<QLockFile> tryLockForThisRun(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    const QString key = QFileInfo(path).absoluteFilePath();
    if (!lock->tryLock(0) &&
        !(leftByAnEarlierRunOfThisNumber(*lock, key) && lock->removeStaleLockFile() && lock->tryLock(0)))
        return nullptr;
    takenHere().insert(key);
    return lock;
}

}  // namespace varnok::platform
