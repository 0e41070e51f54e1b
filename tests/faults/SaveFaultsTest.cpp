// Saving a work where it cannot be written: a read-only folder, a full one. The driver is told,
// the works saved before are untouched, the settings survive and the program keeps running.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "DialogAnswers.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "WorkFile.h"
#include "app/SettingsFile.h"
#include "app/Texts.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::vector<std::string> kField = {"--rate", "10", "--speed", "72", "--length", "100"};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder nobody may write in. Mode bits do not stop the superuser; /proc stops everyone.
std::string readOnlyFolder(const std::string& dir) {
    const std::string folder = dir + "/locked";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    return access(folder.c_str(), W_OK) == 0 ? "/proc" : folder;
}

// Every file this process writes is full at once, as on a full disk, while it lives.
class FullDisk {
  public:
    FullDisk() {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit none = saved_;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

enum class Place { ReadOnly, Full };

// Drives a free work until it has some fixes, finishes it and answers yes to saving.
void driveAndFinish(RunningProgram& program) {
    program.tap(appState.layout.btnStartFree);
    ASSERT_TRUE(program.reaches(kStateFreeWork, 40s));
    ASSERT_TRUE(waitUntil([] { return appState.work.strips.size() >= 20; }));
    program.tap(appState.layout.btnFinish);
    program.tap(appState.layout.btnYes);
    ASSERT_EQ(program.state(), kStateConfirm);
}

class SaveFault : public ::testing::TestWithParam<Place> {};

}  // namespace

TEST_P(SaveFault, TheDriverIsToldAndNothingElseIsLost) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn(kField));
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));

    // A first work saved where it can be.
    driveAndFinish(program);
    DialogAnswers answers;
    answers.chooseFile(dir + "/first.shp");
    program.tap(appState.layout.btnYes);
    ASSERT_TRUE(answers.done());
    const std::string first = contents(dir + "/first.shp") + contents(dir + "/first.dbf");
    ASSERT_FALSE(first.empty());

    // The second cannot be written.
    driveAndFinish(program);
    const std::string target =
        (GetParam() == Place::ReadOnly ? readOnlyFolder(dir) : dir) + "/second.shp";
    answers.chooseFile(target).acknowledgeMessage().acknowledgeMessage();
    {
        std::unique_ptr<FullDisk> full;
        if (GetParam() == Place::Full) full = std::make_unique<FullDisk>();
        program.tap(appState.layout.btnYes);
    }
    EXPECT_TRUE(answers.done());
    ASSERT_EQ(answers.messages().size(), 2u);
    EXPECT_EQ(answers.messages()[0], "Unable to create shp file\n");
    EXPECT_NE(answers.messages()[1].find("could not be saved"), std::string::npos);
    EXPECT_EQ(contents(dir + "/first.shp") + contents(dir + "/first.dbf"), first);
    WorkFileContents saved;
    EXPECT_FALSE(readWorkFile(target, saved) && saved.features > 0);

    // Back at "save the work?" with the work whole: another place takes it.
    EXPECT_EQ(program.state(), kStateConfirm);
    EXPECT_STREQ(appState.ui.promptText, messageText(kMsgSaveQuestion));
    const int records = appState.work.strips.size();
    answers.chooseFile(dir + "/elsewhere.shp");
    program.tap(appState.layout.btnYes);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(program.state(), kStateStart);
    ASSERT_TRUE(readWorkFile(dir + "/elsewhere.shp", saved));
    EXPECT_GE(saved.vertices, 2 * records);

    // The program goes on: a new work starts and records.
    program.tap(appState.layout.btnStartFree);
    ASSERT_TRUE(program.reaches(kStateFreeWork, 40s));
    EXPECT_TRUE(waitUntil([] { return appState.work.strips.size() >= 5; }));
    program.tap(appState.layout.btnFinish);
    program.tap(appState.layout.btnYes);
    program.tap(appState.layout.btnNo);
    const float zoom = appState.settings.zoom;
    EXPECT_TRUE(program.exitByButtons());
    program.close();
    EXPECT_EQ(fs::file_size(dir + "/Settings.dat"), kSettingsFileSize);
    appState.settings.zoom = 0;
    loadSettings();
    EXPECT_EQ(appState.settings.zoom, zoom);
}

INSTANTIATE_TEST_SUITE_P(Saves, SaveFault, ::testing::Values(Place::ReadOnly, Place::Full),
                         [](const auto& info) {
                             return std::string(info.param == Place::ReadOnly ? "read_only"
                                                                              : "full");
                         });
