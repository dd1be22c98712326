#include "splash.h"

#include "widgets/guard.h"
#include "widgets/prompts.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace varnok {

TForm2::TForm2(Prompts &prompts) : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), prompts_(prompts)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(AppTitle);
    setFixedSize(430, 250);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 430, 250);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { guard(prompts_, this, [this] { Timer1Timer(); }); });
    guard(prompts_, this, [this] { FormCreate(); });
    Timer1->start();
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void TForm2::FormCreate()
{
    QFile resource(QStringLiteral(":/MYJPG"));
    if (!resource.open(QIODevice::ReadOnly))
        throw std::runtime_error("找不到内嵌的启动画面（MYJPG）。");
    QImage picture;
    if (!picture.loadFromData(resource.readAll(), "JPEG"))
        throw std::runtime_error("启动画面（MYJPG）无法解码。");
    // A scaled screen gets the picture drawn twice as large, brought to its
    // own pixel size: sharp at 125 % to 200 %.
    const qreal ratio = screen() ? screen()->devicePixelRatio() : 1.0;
    QFile large(QStringLiteral(":/MYJPG@2x"));
    QImage sharp;
    if (ratio > 1.0 && large.open(QIODevice::ReadOnly) && sharp.loadFromData(large.readAll(), "JPEG")) {
        picture =
            sharp.scaled((QSizeF(picture.size()) * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void TForm2::Timer1Timer()
{
    Timer1->stop();
    if (mainWindow_) {
        mainWindow_->show();
        mainWindow_->repaint();
    }
    hide();
    deleteLater();
    emit gaveWay();
}

}  // namespace varnok
