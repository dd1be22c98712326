// Replacing a file only with a complete new one.
#pragma once

#include <QByteArray>
#include <QString>

namespace varnok {

// Write bytes to path through a temporary file that takes the place of the
// old one only when every byte is on disk. On any failure the old file stays
// as it was and XmlError is thrown with a message naming the file.
void writeFileSafely(const QString &path, const QByteArray &bytes);

}  // namespace varnok
