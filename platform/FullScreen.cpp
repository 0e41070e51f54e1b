#include "platform/FullScreen.h"

#include <QWidget>

namespace platform {

void setFullScreen(QWidget* window, bool on) {
    if (!window) return;
    Qt::WindowFlags flags = window->windowFlags();
    if (on) {
        window->setWindowFlags(flags | Qt::FramelessWindowHint);
        window->showFullScreen();
    } else {
        window->setWindowFlags(flags & ~Qt::FramelessWindowHint);
        window->showNormal();
    }
}

}  // namespace platform
