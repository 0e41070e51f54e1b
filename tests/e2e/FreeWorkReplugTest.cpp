// A free work whose receiver is unplugged midway and plugged back: the program goes on without
// fixes, stays responsive, and records again once the receiver is back.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <filesystem>

#include "FrameChecks.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "app/Program.h"
#include "app/SettingsFile.h"
#include "platform/QtPlatform.h"

namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kField = {"--rate", "10", "--speed", "72", "--length", "100"};

}  // namespace

TEST(EndToEnd, FreeWorkGoesOnWhenTheReceiverIsPluggedBack) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    const int threadsBefore = unnamedThreadCount();
    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn(kField));
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));

    program.tap(appState.layout.btnStartFree);
    ASSERT_TRUE(program.reaches(kStateFreeWork, 40s));
    ASSERT_TRUE(waitUntil([] { return appState.work.strips.size() >= 20; }));
    // Without an AB line: the strip and the panel at the top, no guide lines.
    const QRect panel(0, appState.layout.textMargin, appState.layout.screenWidth, 32);
    const QRect behind(appState.layout.halfScreenWidth - 20, appState.layout.halfScreenHeight + 20,
                       40, 80);
    EXPECT_TRUE(program.frameWhere([&](const QImage& f) {
        return countPixels(f, panel, textPixel()) > 100 &&
               countPixels(f, behind, trackPixel()) > 500;
    }));

    receiver.unplug();
    runEventsFor(1500ms);
    const int before = appState.work.strips.size();
    runEventsFor(2000ms);
    EXPECT_EQ(int(appState.work.strips.size()), before) << "fixes without a receiver";
    EXPECT_EQ(program.state(), kStateFreeWork);
    // The screen still answers the driver.
    const float zoom = appState.settings.zoom;
    program.tap(appState.layout.btnZoomOut);
    EXPECT_LT(appState.settings.zoom, zoom);

    ASSERT_TRUE(receiver.plugIn(kField));
    EXPECT_TRUE(
        waitUntil([&] { return appState.work.strips.size() > std::uint32_t(before + 20); }, 30s))
        << "no fixes after the receiver came back";

    // Finish, and decline saving: back at the start, nothing written.
    program.tap(appState.layout.btnFinish);
    program.tap(appState.layout.btnYes);
    program.tap(appState.layout.btnNo);
    EXPECT_EQ(program.state(), kStateStart);

    // The window manager's close takes the orderly way out, as Exit does.
    QEventLoop loop;
    QTimer::singleShot(0, [] { programPlatform()->window().close(); });
    QTimer::singleShot(30000, &loop, [&loop] { loop.exit(99); });
    EXPECT_EQ(loop.exec(), 0);
    const float keptZoom = appState.settings.zoom;
    program.close();
    receiver.unplug();
    EXPECT_TRUE(threadsBackTo(threadsBefore));
    appState.settings.zoom = 0;
    loadSettings();
    EXPECT_EQ(appState.settings.zoom, keptZoom);
    EXPECT_FALSE(std::filesystem::exists(dir + "/meadow.shp"));
}
