// "批量检查...": the desk's window, one for the main window, shown again
// with its last table when pressed again.
#include "app/mainwindow.h"

#include "app/deskwindow.h"

namespace varnok {

void TForm1::Label48Click()
{
    if (!desk_)
        desk_ = new DeskWindow(
            prompts_,
            [this](const QString &path) {
                openFromDesk(path);
                raise();
                activateWindow();
            },
            this);
    desk_->show();
    desk_->raise();
    desk_->activateWindow();
}

}  // namespace varnok
