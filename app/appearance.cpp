#include "appearance.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <cmath>

namespace varnok {

namespace {

bool fractional(qreal ratio) { return std::abs(ratio - std::round(ratio)) > 0.01; }

// At a scaling between whole factors a control's edge may fall inside a
// screen pixel; a frame line drawn on the edge itself (the frame of a memo
// or a grid) then falls outside what the control may paint and vanishes.
// Drawn half a pixel inward, it lies inside the control at every scaling.
class WholeFrames : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_Frame && painter->device() && fractional(painter->device()->devicePixelRatio())) {
            painter->save();
            painter->translate(0.5, 0.5);
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            painter->restore();
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

}  // namespace

void applyAppearance()
{
    QFont font = QApplication::font();
    // Its Latin digits are narrow enough for the date columns of the grids.
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun"), font.family()});
    font.setPixelSize(12);
    QApplication::setFont(font);

    // At a scaling between whole factors (125 %, 150 %, 175 %) the Windows
    // styles lose the right and bottom edge of many frames (entry fields,
    // group boxes, the command bar); Qt's own Fusion style draws them whole,
    // and the memos' and grids' frames too once drawn inward.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen && fractional(screen->devicePixelRatio()))
        QApplication::setStyle(new WholeFrames(QStyleFactory::create(QStringLiteral("Fusion"))));
}

}  // namespace varnok
