#include "entrychecks.h"

#include "document/values.h"

namespace varnok {

std::optional<ListCheck> firstFailingCheck(const RecordListDef &list, const QStringList &values)
{
    auto value = [&](const QString &control) { return values.value(list.fieldIndex(control)); };
    for (const ListCheck &check : list.checks) {
        switch (check.kind) {
        case ListCheck::Blank:
            if (isBlank(value(check.field)))
                return check;
            break;
        case ListCheck::NoSelection:
            if (value(check.field).isEmpty())
                return check;
            break;
        case ListCheck::DateOrder:
            // "yyyy-MM-dd" texts order as the dates do.
            if (value(check.field) >= value(check.endField))
                return check;
            break;
        }
    }
    return std::nullopt;
}

}  // namespace varnok
