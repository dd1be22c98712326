#include "folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace varnok::platform {

QString programDirectory(const QString &applicationDir)
{
    QString folder = applicationDir;
    if (!QFileInfo(folder).isWritable()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        folder = !documents.isEmpty() && QFileInfo(documents).isWritable() ? documents : QDir::homePath();
    }
    return QDir::toNativeSeparators(folder) + QDir::separator();
}

}  // namespace varnok::platform
