// Where the controls of each record list tab stand: the group box, each entry
// field with its caption, the grid with its column widths, the two buttons,
// and the keyboard order. What the fields are is in document/listdefs.h; the
// two tables go field by field in the same order.
#pragma once

#include "document/listdefs.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <array>
#include <vector>

namespace varnok {

struct FieldPlace {
    QPoint captionAt;  // label position (a labelled edit places its own)
    QRect geometry;
    int tabOrder;
    int columnWidth;  // of the field's grid column
};

struct ControlPlace {
    QRect geometry;
    int tabOrder;
};

struct ListPlacement {
    QRect group;
    ControlPlace grid;
    ControlPlace addButton;
    ControlPlace saveButton;
    std::vector<FieldPlace> fields;
    int editColumnWidth;
    int deleteColumnWidth;
    bool paintCurrentCell;  // the grid paints its current cell in the selection colour

    QList<int> columnWidths() const;
};

const ListPlacement &listPlacement(ListId id);

}  // namespace varnok
