#include "ProgramHarness.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/MainWindow.h"
#include "platform/QtPlatform.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

QPoint centre(const ButtonRect& b) {
    return QPoint((b.left + b.right) / 2, (b.top + b.bottom) / 2);
}

std::string comm(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string name;
    std::getline(in, name);
    return name;
}

const ButtonRect* const kWorkButtons[] = {
    &appState.layout.btnZoomIn, &appState.layout.btnZoomOut, &appState.layout.btnWorkMenu,
    &appState.layout.btnViewToggle, &appState.layout.btnFinish};

bool onWorkButton(int x, int y) {
    for (const ButtonRect* b : kWorkButtons)
        if (b->contains(x, y)) return true;
    return false;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

void runEventsFor(std::chrono::milliseconds time) {
    waitUntil([] { return false; }, time);
}

bool RunningProgram::open(const std::string& device, int width, int height) {
    CommandLine line;
    line.width = width;
    line.height = height;
    line.gpsDevice = device;
    line.language = "en";
    if (!openProgram(line)) return false;
    open_ = true;
    platform::MainWindow& window = programPlatform()->window();
    if (!QTest::qWaitForWindowExposed(&window, 20000)) return false;
    // The start screen, or the question whether to resume the work the last run was ended in.
    return waitUntil([] {
               return appState.ui.screenState == kStateStart ||
                      appState.ui.screenState == kStateConfirm;
           }) &&
           frameWhere([](const QImage& f) { return !f.isNull(); });
}

void RunningProgram::close() {
    if (!open_) return;
    open_ = false;
    closeProgram(true);
}

void RunningProgram::tapAt(int x, int y) {
    QTest::mouseClick(&programPlatform()->window(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}

void RunningProgram::tap(const ButtonRect& button) {
    const QPoint p = centre(button);
    tapAt(p.x(), p.y());
}

void RunningProgram::tapMap() {
    const int w = appState.layout.screenWidth, h = appState.layout.screenHeight;
    for (int y = h * 3 / 4; y > h / 4; y -= 8) {
        for (int x = w / 2; x < w; x += 8) {
            if (!onWorkButton(x, y)) {
                tapAt(x, y);
                return;
            }
        }
    }
}

bool RunningProgram::reaches(std::uint8_t state, std::chrono::milliseconds limit) {
    return waitUntil([state] { return appState.ui.screenState == state; }, limit);
}

QImage RunningProgram::frame() const {
    return programPlatform()->window().frameCopy();
}

bool RunningProgram::frameWhere(const std::function<bool(const QImage&)>& check,
                                std::chrono::milliseconds limit) {
    return waitUntil([&] { return check(frame()); }, limit);
}

bool RunningProgram::exitByButtons() {
    tap(appState.layout.btnExit);
    if (!reaches(kStateConfirm, 5s)) return false;
    // Yes posts the quit message: it ends the loop that runs when it comes, as exec() would.
    QEventLoop loop;
    QTimer::singleShot(0, [this] { tap(appState.layout.btnYes); });
    QTimer::singleShot(30000, &loop, [&loop] { loop.exit(99); });
    return loop.exec() == 0;
}

int unnamedThreadCount() {
    const std::string self = comm("/proc/self/comm");
    int count = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error))
        if (comm(task.path() / "comm") == self) ++count;
    return count;
}

bool threadsBackTo(int count, std::chrono::milliseconds limit) {
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
    // ThreadSanitizer starts a thread of its own once the program's first thread exists.
    ++count;
#endif
#endif
    return waitUntil([count] { return unnamedThreadCount() <= count; }, limit);
}
