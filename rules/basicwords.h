// The first tab's fields in the form's own words, group by group in the order
// the form shows them; the printed declaration and the whole-declaration
// check name fields this way.
#pragma once

#include <QString>
#include <vector>

namespace varnok {

struct CaptionedControl {
    QString control;  // objectName
    QString words;    // its caption without the colon
};

struct CaptionedGroup {
    QString caption;
    std::vector<CaptionedControl> fields;
};

inline const QString BasicTabCaption = QStringLiteral("基本信息");

const std::vector<CaptionedGroup> &basicGroups();

// The caption of a control of the first tab, empty when it has none.
QString basicWords(const QString &control);

}  // namespace varnok
