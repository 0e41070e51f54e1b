#include "platform/SignalBridge.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <memory>

namespace platform {

namespace {
int wakeFds[2] = {-1, -1};
std::unique_ptr<QSocketNotifier> notifier;

void onTermination(int) {
    char byte = 1;
    // Only async-signal-safe work here: one byte down the pipe.
    [[maybe_unused]] ssize_t n = write(wakeFds[1], &byte, 1);
}
}  // namespace

void installTerminationSignals(std::function<void()> onSignal) {
    if (wakeFds[0] < 0) {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeFds) != 0) return;
        fcntl(wakeFds[1], F_SETFL, O_NONBLOCK);
    }
    notifier = std::make_unique<QSocketNotifier>(wakeFds[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                     [onSignal = std::move(onSignal)] {
                         char buffer[16];
                         [[maybe_unused]] ssize_t n = read(wakeFds[0], buffer, sizeof buffer);
                         onSignal();
                     });
    struct sigaction action = {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void removeTerminationSignals() {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    notifier.reset();
}

}  // namespace platform
