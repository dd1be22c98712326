// Which characters an XML document can hold at all.
#pragma once

#include <QString>
#include <QStringView>

namespace varnok {

// Characters an XML 1.0 document cannot hold: control characters other than
// TAB, LF and CR, U+FFFE, U+FFFF, and halves of surrogate pairs standing
// alone. The position of the first one, or -1 when there is none.
qsizetype firstNonXmlCharacter(QStringView text);
// The text without them.
QString withoutNonXmlCharacters(QStringView text);

}  // namespace varnok
