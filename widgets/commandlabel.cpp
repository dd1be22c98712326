#include "commandlabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace varnok {

namespace {

// A command label as assistive technology sees it: a button named by its
// text, described by its tooltip (which names its keys), pressed as a click
// presses it.
class CommandLabelAccessible : public QAccessibleWidget {
public:
    explicit CommandLabelAccessible(CommandLabel *label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const CommandLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<CommandLabel *>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *commandLabelAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(CommandLabel::staticMetaObject.className()))
        return new CommandLabelAccessible(static_cast<CommandLabel *>(object));
    return nullptr;
}

}  // namespace

CommandLabel::CommandLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    static const bool accessible = (QAccessible::installFactory(&commandLabelAccessible), true);
    Q_UNUSED(accessible);
    setAutoFillBackground(true);  // opaque
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setBackground(palette().color(QPalette::Button));
    // In the Tab order, but a click leaves the focus where it was: leaving a
    // field is its own rule, which a command must not set off.
    setFocusPolicy(Qt::TabFocus);
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

void CommandLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void CommandLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Drawn whatever the style: a frame in the selection colour, inside the
    // label, so the label keeps its size.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace varnok
