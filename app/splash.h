// The splash window: the embedded picture for three seconds, then the main
// window takes its place, once.
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace varnok {

class Prompts;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(Prompts &prompts);
    // The window the splash gives way to.
    void setMainWindow(QWidget *mainWindow) { mainWindow_ = mainWindow; }

    QLabel *Image1 = nullptr;
    QTimer *Timer1 = nullptr;

public slots:
    void FormCreate();
    void Timer1Timer();

signals:
    // The main window has been shown in the splash's place.
    void gaveWay();

private:
    Prompts &prompts_;
    QWidget *mainWindow_ = nullptr;
};

}  // namespace varnok
