// Full screen for a dialog: frameless and covering the whole screen when on, a normal window
// when off. The settings sheet uses it.
#pragma once

class QWidget;

namespace platform {

void setFullScreen(QWidget* window, bool on);

}  // namespace platform
