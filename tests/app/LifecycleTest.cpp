// Start-up and shut-down run their steps in the fixed order, with the subsystems replaced by
// recorders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Lifecycle.h"

namespace {

std::vector<std::string> calls;
bool anotherInstance = false;
int observedWidth = 0;
unsigned rotationAnswer = 0;

class Lifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = lifecycleCalls();
        calls.clear();
        anotherInstance = false;
        rotationAnswer = 0;
        LifecycleCalls& c = lifecycleCalls();
        c.claimSingleInstance = [] {
            calls.push_back("single instance");
            return !anotherInstance;
        };
        c.createMainWindow = [] {
            calls.push_back("window");
            appState.layout.screenWidth = 480;
            appState.layout.screenHeight = 640;
            return true;
        };
        c.queryRotation = [] {
            calls.push_back("rotation");
            return rotationAnswer;
        };
        c.windowHandle = []() -> void* { return nullptr; };
        c.showMainWindow = [] { calls.push_back("show"); };
        c.installTexts = [] { calls.push_back("texts"); };
        c.createDisplay = [] {
            observedWidth = appState.layout.halfScreenWidth;  // metrics come before the display
            calls.push_back("display");
        };
        c.loadBackgroundImage = [] { calls.push_back("background"); };
        c.loadFont = [] { calls.push_back("font"); };
        c.showWelcome = [] { calls.push_back("welcome"); };
        c.loadSettings = [] { calls.push_back("settings"); };
        c.loadScreenImages = [] { calls.push_back("images"); };
        c.computeLayout = [] { calls.push_back("layout"); };
        c.configureGeodesyData = [] {
            calls.push_back("projection");
            return 1;
        };
        c.startGps = [] {
            calls.push_back(appState.ui.screenState == kStateStart ? "gps after start screen"
                                                                   : "gps too early");
        };
        c.stopThreads = [] { calls.push_back("stop threads"); };
        c.saveSettings = [] { calls.push_back("save settings"); };
        c.stopGps = [] { calls.push_back("stop gps"); };
        c.releaseProjection = [] { calls.push_back("release projection"); };
        c.destroyDisplay = [] { calls.push_back("destroy display"); };
        c.freeImages = [] { calls.push_back("free images"); };
        appState.ui.screenState = kStateBeforeStart;
    }
    void TearDown() override { lifecycleCalls() = saved_; }

    LifecycleCalls saved_{};
};

TEST_F(Lifecycle, StartUpOrder) {
    ASSERT_TRUE(initInstance());
    const std::vector<std::string> expected = {"single instance",
                                               "texts",
                                               "window",
                                               "rotation",
                                               "display",
                                               "background",
                                               "font",
                                               "welcome",
                                               "settings",
                                               "images",
                                               "layout",
                                               "projection",
                                               "gps after start screen",
                                               "show"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(observedWidth, 240);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
}

TEST_F(Lifecycle, SecondInstanceStopsBeforeAnythingElse) {
    anotherInstance = true;
    EXPECT_FALSE(initInstance());
    EXPECT_EQ(calls, std::vector<std::string>{"single instance"});
    EXPECT_EQ(appState.ui.screenState, kStateBeforeStart);
}

TEST_F(Lifecycle, ShutDownOrder) {
    shutDown();
    const std::vector<std::string> expected = {"stop threads",    "save settings",
                                               "stop gps",        "release projection",
                                               "destroy display", "free images"};
    EXPECT_EQ(calls, expected);
}

TEST_F(Lifecycle, RotationAnswerMapsToOrientation) {
    const std::pair<unsigned, unsigned> table[] = {{0, 0}, {1, 1}, {2, 2}, {4, 3}, {3, 0}, {8, 0}};
    for (auto [answer, orientation] : table) {
        EXPECT_EQ(orientationFromRotation(answer), orientation) << answer;
    }
    rotationAnswer = 4;
    ASSERT_TRUE(initInstance());
    EXPECT_EQ(appState.layout.orientation, 3u);
}

TEST(ModuleDir, IsTheExecutablesFolderWithTrailingSlash) {
    findModuleDir();
    std::string dir = appState.layout.moduleDir;
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(dir.find("app_tests"), std::string::npos);
}

}  // namespace
