// Where the main window stands on a screen: at its own size wherever the
// screen's available area (without the taskbar) holds it with its frame,
// otherwise as large as that area allows, its content scrolling. Sizes are
// device-independent pixels, as Qt gives a screen's geometry at any scaling.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <optional>

namespace varnok {

struct WindowFit {
    QRect geometry;  // the window without its frame
    bool scrollsHorizontally = false;
    bool scrollsVertically = false;
    bool scrolls() const { return scrollsHorizontally || scrollsVertically; }
    QRect frame(const QMargins &margins) const { return geometry.marginsAdded(margins); }
};

// The window of this size (without frame) placed in the available area:
// centred in it, or at frameTopLeft (where the frame stood) as far as the
// area allows. A scrolling direction takes scrollBar pixels across the other.
WindowFit fitWindow(const QSize &size, const QRect &available, const QMargins &frame, int scrollBar,
                    std::optional<QPoint> frameTopLeft = std::nullopt);

}  // namespace varnok
