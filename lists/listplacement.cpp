#include "listplacement.h"

namespace varnok {

QList<int> ListPlacement::columnWidths() const
{
    QList<int> out;
    for (const FieldPlace &f : fields)
        out << f.columnWidth;
    out << editColumnWidth << deleteColumnWidth;
    return out;
}

const ListPlacement &listPlacement(ListId id)
{
    static const std::array<ListPlacement, ListCount> places{{
        // 工作简历
        {QRect(16, 16, 897, 329),
         {QRect(16, 120, 865, 193), 4},
         {QRect(728, 24, 75, 25), 5},
         {QRect(808, 24, 75, 25), 6},
         {{{13, 32}, QRect(80, 24, 617, 21), 0, 298},
          {{13, 64}, QRect(80, 56, 121, 21), 1, 86},
          {{13, 96}, QRect(80, 88, 121, 21), 2, 81},
          {{232, 64}, QRect(272, 56, 425, 49), 3, 293}},
         52,
         44,
         false},
        // 主要业绩
        {QRect(16, 16, 897, 329),
         {QRect(16, 184, 865, 129), 5},
         {QRect(728, 24, 75, 25), 6},
         {QRect(808, 24, 75, 25), 7},
         {{{48, 32}, QRect(120, 24, 121, 21), 0, 159},
          {{248, 32}, QRect(320, 24, 121, 21), 1, 64},
          {{456, 32}, QRect(536, 24, 113, 21), 2, 64},
          {{50, 59}, QRect(120, 56, 761, 49), 3, 116},
          {{8, 124}, QRect(120, 120, 761, 49), 4, 353}},
         51,
         46,
         false},
        // 继续教育
        {QRect(16, 16, 897, 497),
         {QRect(16, 168, 865, 313), 5},
         {QRect(728, 24, 75, 25), 6},
         {QRect(808, 24, 75, 25), 7},
         {{{60, 48}, QRect(128, 40, 289, 21), 0, 156},
          {{435, 48}, QRect(512, 40, 145, 21), 1, 65},
          {{60, 80}, QRect(128, 72, 153, 21), 2, 74},
          {{465, 80}, QRect(512, 72, 144, 21), 3, 66},
          {{60, 112}, QRect(128, 104, 529, 49), 4, 386}},
         56,
         50,
         true},
        // 信用档案
        {QRect(16, 16, 897, 497),
         {QRect(16, 192, 865, 289), 0},
         {QRect(727, 24, 76, 25), 5},
         {QRect(807, 24, 76, 25), 6},
         {{{31, 40}, QRect(97, 32, 153, 21), 3, 80},
          {{}, QRect(400, 32, 257, 21), 1, 126},
          {{10, 71}, QRect(97, 64, 153, 21), 7, 63},
          {{}, QRect(400, 64, 257, 21), 2, 92},
          {{31, 99}, QRect(96, 96, 561, 81), 4, 386}},
         56,
         50,
         true},
    }};
    return places[size_t(id)];
}

}  // namespace varnok
