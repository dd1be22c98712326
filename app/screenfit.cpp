#include "screenfit.h"

#include <algorithm>

namespace varnok {

namespace {
// Below this a window is no use; a smaller area gets a window that overlaps it.
constexpr int SmallestSide = 200;
}  // namespace

WindowFit fitWindow(const QSize &size, const QRect &available, const QMargins &frame, int scrollBar,
                    std::optional<QPoint> frameTopLeft)
{
    const int roomW = available.width() - frame.left() - frame.right();
    const int roomH = available.height() - frame.top() - frame.bottom();
    WindowFit fit;
    fit.scrollsHorizontally = size.width() > roomW;
    fit.scrollsVertically = size.height() > roomH;
    // A scroll bar of one direction may leave too little room in the other.
    if (fit.scrollsVertically && !fit.scrollsHorizontally && size.width() + scrollBar > roomW)
        fit.scrollsHorizontally = true;
    if (fit.scrollsHorizontally && !fit.scrollsVertically && size.height() + scrollBar > roomH)
        fit.scrollsVertically = true;
    QSize fitted = size;
    if (fit.scrolls()) {
        fitted.setWidth(
            std::max(SmallestSide, std::min(size.width() + (fit.scrollsVertically ? scrollBar : 0), roomW)));
        fitted.setHeight(
            std::max(SmallestSide, std::min(size.height() + (fit.scrollsHorizontally ? scrollBar : 0), roomH)));
    }

    const QSize outer = fitted.grownBy(frame);
    QPoint at = frameTopLeft.value_or(available.topLeft() + QPoint((available.width() - outer.width()) / 2,
                                                                   (available.height() - outer.height()) / 2));
    // Inside the area, the top left corner first: the caption stays reachable.
    at.setX(std::max(available.left(), std::min(at.x(), available.left() + available.width() - outer.width())));
    at.setY(std::max(available.top(), std::min(at.y(), available.top() + available.height() - outer.height())));
    fit.geometry = QRect(at + QPoint(frame.left(), frame.top()), fitted);
    return fit;
}

}  // namespace varnok
