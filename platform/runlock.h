// Locks that say which run of the program holds something in a shared folder:
// a lock is taken only when no running program holds it, never for stale by
// its age, and one left by an earlier run whose process number came round
// again is known as such.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace varnok::platform {

// The lock at path for this run, or null while another run that still goes on
// (or this one, elsewhere) holds it.
std::unique_ptr<QLockFile> tryLockForThisRun(const QString &path);

}  // namespace varnok::platform
