#include "appearance.h"

#include <QApplication>
#include <QFont>

namespace varnok {

void applyAppearance()
{
    QFont font = QApplication::font();
    // Its Latin digits are narrow enough for the date columns of the grids.
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun"), font.family()});
    font.setPixelSize(12);
    QApplication::setFont(font);
}

}  // namespace varnok
