#include "safewrite.h"

#include "xml/xmldocument.h"

#include <QSaveFile>

namespace varnok {

void writeFileSafely(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    auto fail = [&](const QString &reason) {
        file.cancelWriting();
        throw XmlError(QStringLiteral("无法保存文件“%1”：%2").arg(path, reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    // A write cut short by a full disk or a file-size limit is not always
    // reported by the layers below: the size on disk is the proof.
    const qint64 onDisk = file.size();
    if (onDisk != bytes.size())
        fail(QStringLiteral("只写入了 %1 字节，应为 %2 字节（磁盘空间不足或文件过大）").arg(onDisk).arg(bytes.size()));
    if (!written)
        fail(file.errorString());
    if (!file.commit())
        throw XmlError(QStringLiteral("无法保存文件“%1”：%2").arg(path, file.errorString()));
}

}  // namespace varnok
