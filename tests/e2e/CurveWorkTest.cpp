// A curved AB line on gpssim's bent field, followed by the real program through a SIGKILL and
// the resume of its work. The field's passes are concentric arcs 12.5 m apart and the implement
// is 12 m wide: pass j after the recorded one lies 12.5 j m from it, so it is followed on line j
// with 0.5 j m of cross-track error, to the side that alternates with the direction of travel.
// Where the passes lie in the work's plane comes from the drive itself: a circle fitted to the
// positions of the recorded pass.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "FrameChecks.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "app/Texts.h"

namespace {

using namespace std::chrono_literals;

constexpr double kPassSpacing = 125.0;  // dm, gpssim's --spacing
constexpr double kWidth = 120.0;        // dm, the initial implement width
// Fast passes of 240 m bent around a centre 300 m away: nine seconds a pass, and 24 passes
// before the centre, room for a slow start under a sanitizer.
const std::vector<std::string> kBentField = {"--rate", "10",        "--speed", "108",    "--length",
                                             "240",    "--spacing", "12.5",    "--bend", "300"};
constexpr int kPasses = 20;

// What the two runs of the program share, in a file both map.
struct Shared {
    std::atomic<int> failures;
    char message[512];
    // The recorded pass in the plane: the fitted circle, the angles of A and of B around its
    // centre, and +1 when the centre lies to the right of the direction from A to B.
    double cx, cy, radius, angleA, angleB;
    int side;
    // Fixes checked on pass j after the recorded one, before the kill and after the resume.
    int checked[kPasses + 1];
    int resumed[kPasses + 1];
};

Shared* mapShared(const std::string& path, bool create) {
    const int fd = ::open(path.c_str(), O_RDWR | (create ? O_CREAT | O_TRUNC : 0), 0644);
    if (fd < 0) return nullptr;
    if (create && ftruncate(fd, sizeof(Shared)) != 0) return nullptr;
    void* p = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    return p == MAP_FAILED ? nullptr : static_cast<Shared*>(p);
}

void fail(Shared& shared, const std::string& what) {
    if (shared.failures++ == 0)
        std::snprintf(shared.message, sizeof shared.message, "%s", what.c_str());
}

// The angle from a to b, in (-pi, pi].
double turnBetween(double a, double b) {
    return std::remainder(b - a, 2 * M_PI);
}

// The least-squares circle through the points (Kasa's fit: linear in the centre and in
// r^2 - |c|^2), solved by Cramer's rule on the 3 x 3 normal equations.
bool fitCircle(const std::vector<PlanePoint>& points, double& cx, double& cy, double& r) {
    double m[3][4] = {};
    for (const PlanePoint& p : points) {
        const double row[4] = {p.x, p.y, 1.0, p.x * p.x + p.y * p.y};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 4; ++j) m[i][j] += row[i] * row[j];
    }
    auto det = [&](int replaced) {
        double a[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) a[i][j] = m[i][j == replaced ? 3 : j];
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(-1);
    if (points.size() < 10 || d == 0.0) return false;
    const double a = det(0) / d, b = det(1) / d, c = det(2) / d;
    cx = a / 2;
    cy = b / 2;
    r = std::sqrt(c + cx * cx + cy * cy);
    return std::isfinite(r);
}

// The next accepted position, with the followed line and cross-track error of the same fix.
struct Step {
    PlanePoint at;
    int line = 0;
    double crossTrack = 0.0;
    double turn = 0.0;  // radians from the previous step's direction
};

class Drive {
  public:
    bool next(Step& step, std::chrono::milliseconds limit = 5s) {
        const PlanePoint last = last_;
        if (!waitUntil(
                [&] {
                    const PlanePoint p = underFrameLock([] { return appState.work.position; });
                    return p.x != last.x || p.y != last.y;
                },
                limit))
            return false;
        std::tie(step.at, step.line, step.crossTrack) = underFrameLock([] {
            return std::tuple(appState.work.position, int(appState.guide.guideNumber),
                              appState.guide.crossTrack);
        });
        const double heading = std::atan2(step.at.y - last_.y, step.at.x - last_.x);
        step.turn = steps_++ == 0 ? 0.0 : std::fabs(turnBetween(heading_, heading));
        heading_ = heading;
        last_ = step.at;
        return true;
    }

  private:
    PlanePoint last_ = underFrameLock([] { return appState.work.position; });
    double heading_ = 0.0;
    int steps_ = 0;
};

// A step along an arc turns the heading by under a degree; one of the turns between passes by
// a quarter of a radian.
constexpr double kTurning = 0.1;

// Sets A two steps after a turn ends and B well before the next turn, and fits the circle of the
// pass between them.
bool recordCurve(RunningProgram& program, Shared& shared) {
    Drive drive;
    Step step;
    bool turned = false;
    int straight = 0;
    while (true) {
        if (!drive.next(step)) return fail(shared, "no positions before A"), false;
        if (step.turn > kTurning) {
            turned = true;
            straight = 0;
        } else if (turned && ++straight == 2) {
            break;
        }
    }
    program.tapMap();
    if (!appState.work.pointASet) return fail(shared, "the tap did not set A"), false;
    std::vector<PlanePoint> pass = {underFrameLock([] { return appState.work.position; })};
    // B about 60 m before the pass ends (80 steps a pass): a tap that comes late still falls on
    // the arc, never in the turn.
    for (int i = 0; i < 60; ++i) {
        if (!drive.next(step)) return fail(shared, "no positions after A"), false;
        if (step.turn > kTurning) break;
        pass.push_back(step.at);
    }
    program.tapMap();
    if (appState.ui.screenState != kStateGuidance || !appState.work.curveActive)
        return fail(shared, "the tap did not set B on a curve"), false;
    if (!fitCircle(pass, shared.cx, shared.cy, shared.radius))
        return fail(shared, "no circle through " + std::to_string(pass.size()) + " positions"),
               false;
    const PlanePoint a = pass.front(), b = pass.back();
    shared.angleA = std::atan2(a.y - shared.cy, a.x - shared.cx);
    shared.angleB = std::atan2(b.y - shared.cy, b.x - shared.cx);
    const double crossAB = (b.x - a.x) * (shared.cy - a.y) - (b.y - a.y) * (shared.cx - a.x);
    shared.side = crossAB < 0 ? 1 : -1;
    return true;
}

// Checks the positions of the passes after the recorded one until `until` returns true. Only
// positions between A and B, 15 m clear of either, count: beyond them the lines go straight.
void followPasses(Shared& shared, int (&tally)[kPasses + 1], const std::function<bool()>& until) {
    Drive drive;
    Step step;
    const double span = turnBetween(shared.angleA, shared.angleB);
    const double margin = 150.0 / (shared.radius * std::fabs(span));
    // After a resume the first position only seeds the work's: guidance comes with the next.
    for (bool first = true; !until(); first = false) {
        if (!drive.next(step)) return fail(shared, "positions stopped");
        if (first) continue;
        const double dx = step.at.x - shared.cx, dy = step.at.y - shared.cy;
        const double along = turnBetween(shared.angleA, std::atan2(dy, dx)) / span;
        if (along < margin || along > 1.0 - margin) continue;
        const double inward = shared.radius - std::hypot(dx, dy);
        const long j = std::lround(inward / kPassSpacing);
        // In a turn between passes, or a pass the field does not have.
        if (std::fabs(inward - j * kPassSpacing) > 20.0 || j < 1 || j > kPasses) continue;
        // Pass j lies j spacings inward of the recorded one, driven the same way when j is
        // even; line numbers count to the right looking from A to B.
        const int line = int(shared.side * j);
        const double error = (j % 2 == 0 ? 1 : -1) * shared.side * j * (kPassSpacing - kWidth);
        // Sphere metres in gpssim against the ellipsoid's grid: up to 0.25 % of the distance.
        const double tolerance = 0.3 + 0.0025 * j * kPassSpacing;
        ++tally[j];
        if (step.line != line || std::fabs(step.crossTrack - error) > tolerance) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "pass %ld: line %d, cross-track %.2f dm; expected line %d, %.2f dm", j,
                          step.line, step.crossTrack, line, error);
            return fail(shared, text);
        }
    }
}

// The program's run in a child process: `run` 1 records the curve and follows pass 1 and part
// of pass 2, then is killed; `run` 2 resumes and follows a whole pass after it.
void runProgram(Shared& shared, const std::string& link, int run) {
    RunningProgram program;
    if (!program.open(link)) return fail(shared, "the program did not open");
    if (run == 1) {
        program.tap(appState.layout.btnStartAB);
        if (!program.reaches(kStateSettingAB, 40s)) return fail(shared, "no fix for the work");
        if (!recordCurve(program, shared)) return;
        followPasses(shared, shared.checked,
                     [&] { return shared.checked[2] >= 10 || shared.failures; });
        // The moment the power goes: no shut-down, nothing flushed by the program itself.
        kill(getpid(), SIGKILL);
        for (;;) pause();
    }
    if (program.state() != kStateConfirm ||
        std::strcmp(appState.ui.promptText, messageText(kMsgResumeQuestion)) != 0)
        return fail(shared, "no resume offered after the kill");
    program.tap(appState.layout.btnYes);
    if (!program.reaches(kStateGuidance, 40s) || !appState.work.curveActive)
        return fail(shared, "the resumed work is not guided along the curve");
    // A whole pass after the resume; which one depends on how long the restart took.
    followPasses(shared, shared.resumed, [&] {
        return std::any_of(shared.resumed + 2, std::end(shared.resumed),
                           [](int n) { return n >= 30; }) ||
               shared.failures;
    });
    // The followed line and its neighbours are drawn again around the vehicle.
    const QRect view(0, appState.layout.halfScreenHeight - 150, appState.layout.screenWidth, 300);
    if (!program.frameWhere(
            [&](const QImage& f) { return countPixels(f, view, kGuideLinePixel) > 300; }))
        fail(shared, "no guide lines drawn after the resume");
}

pid_t startRun(const std::string& sharedPath, int run) {
    return spawnTestProgram(
        std::filesystem::read_symlink("/proc/self/exe").string(),
        {"--gtest_also_run_disabled_tests", "--gtest_filter=CurveWork.DISABLED_ProgramRun"}, {},
        {"SULCO_CURVE_SHARED=" + sharedPath, "SULCO_CURVE_RUN=" + std::to_string(run)});
}

int waitForRun(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

}  // namespace

// One run of the program, started by the test below.
TEST(CurveWork, DISABLED_ProgramRun) {
    const char* sharedPath = std::getenv("SULCO_CURVE_SHARED");
    const char* run = std::getenv("SULCO_CURVE_RUN");
    ASSERT_TRUE(sharedPath && run && isolatedRun());
    Shared* shared = mapShared(sharedPath, false);
    ASSERT_NE(shared, nullptr);
    runProgram(*shared, privateFolder() + "/gps", std::atoi(run));
}

TEST(CurveWork, ParallelPassesFollowTheRecordedCurveThroughAKillAndResume) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    std::ofstream(dir + "/sulcovane.conf") << "[guidance]\npattern=curve\n";
    const std::string sharedPath = dir + "/shared";
    Shared* shared = mapShared(sharedPath, true);
    ASSERT_NE(shared, nullptr);
    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn(kBentField));

    const pid_t first = startRun(sharedPath, 1);
    ASSERT_GT(first, 0);
    EXPECT_EQ(waitForRun(first), -SIGKILL) << "the first run was to end killed";
    ASSERT_EQ(shared->failures, 0) << shared->message;
    const pid_t second = startRun(sharedPath, 2);
    ASSERT_GT(second, 0);
    EXPECT_EQ(waitForRun(second), 0);
    EXPECT_EQ(shared->failures, 0) << shared->message;
    EXPECT_GE(shared->checked[1], 30) << "pass 1 was hardly followed";
    EXPECT_GE(*std::max_element(shared->resumed, std::end(shared->resumed)), 30)
        << "no pass was followed after the resume";
    munmap(shared, sizeof(Shared));
}
