// The checks an entry of a record list must pass before it goes into the grid.
#pragma once

#include "document/listdefs.h"

#include <optional>

namespace varnok {

// The first check that fails for these entry values (one per field, dates
// as "yyyy-MM-dd", a drop-down list's text or empty), or none.
std::optional<ListCheck> firstFailingCheck(const RecordListDef &list, const QStringList &values);

}  // namespace varnok
