#include "commandlabel.h"

#include <QMouseEvent>

namespace varnok {

CommandLabel::CommandLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setAutoFillBackground(true);  // opaque
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setBackground(palette().color(QPalette::Button));
}

void CommandLabel::setBackground(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void CommandLabel::mouseMoveEvent(QMouseEvent *event)
{
    setBackground(HoverColour);
    QLabel::mouseMoveEvent(event);
}

void CommandLabel::leaveEvent(QEvent *event)
{
    setBackground(QPalette().color(QPalette::Button));
    QLabel::leaveEvent(event);
}

void CommandLabel::click()
{
    if (isEnabled())
        emit clicked();
}

void CommandLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace varnok
