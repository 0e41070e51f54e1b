// SIGTERM and SIGINT end the program the same orderly way as Exit and Yes: the signal only
// wakes the user-interface thread, which then runs the normal shut-down.
#pragma once

#include <functional>

namespace platform {

// Installs the handlers; onSignal runs later on the user-interface thread.
void installTerminationSignals(std::function<void()> onSignal);
// Back to the default handlers, once the program has closed.
void removeTerminationSignals();

}  // namespace platform
