// Where documents go by default.
#pragma once

#include <QString>

namespace varnok::platform {

// The program's folder with a trailing separator: the save dialog starts
// there and "新建" names its file there. An installed program's folder
// (/usr/bin, Program Files) is not the user's to write, so then the user's
// documents folder (or home folder) serves instead.
QString programDirectory(const QString &applicationDir);

}  // namespace varnok::platform
