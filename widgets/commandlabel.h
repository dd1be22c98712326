// A text label of the command bar that acts as a button: it reports clicks,
// lights up while the pointer is over it, and is a button to the keyboard
// and to assistive technology: Tab reaches it (a click does not take the
// focus), Enter or Space presses it, a frame shows when it has the focus,
// and a screen reader finds it as a button with a press action.
#pragma once

#include <QLabel>

namespace varnok {

inline const QColor HoverColour{166, 202, 240};

class CommandLabel : public QLabel {
    Q_OBJECT
public:
    CommandLabel(const QString &text, QWidget *parent);

public slots:
    // What a click does: clicked, unless the command is disabled.
    void click();

signals:
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setBackground(const QColor &colour);
};

}  // namespace varnok
