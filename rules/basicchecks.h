// The checks the first tab's "保存" runs, in order.
#pragma once

#include "document/layout.h"

#include <QDate>
#include <vector>

namespace varnok {

struct CheckFailure {
    QString message;
    QString focus;              // control that receives the focus
    bool showBasicTab = false;  // bring the basic information tab to the front first
};

// Every failing check, in the order the save runs them; the save stops at the
// first. An empty list means the page may be saved.
std::vector<CheckFailure> basicSaveFailures(const FieldValues &values, const QDate &today);

}  // namespace varnok
