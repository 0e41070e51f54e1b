// The cost of one fix through the callback, projection included, on a guided drive of a field:
// passes one implement width apart at 10 fixes a second and 8 km/h, A and B on the first pass.
//
// fix_ns: mean nanoseconds per fix through the callback with the work's track held at a few
// records, so that the figure is the guidance engine's own: projection, filters, heading,
// strip record, area and guide lines, plus the work screen's geometry of a short track.
// fix_journal_ns: fix_ns with the work journal on, its writer thread writing to a folder under
// /tmp (goal: within 10 % of fix_ns).
// fix_full_track_ns: the same drive with the track growing to a whole field (about 10 000
// records), the coverage map and the warning of worked ground ahead with it.
#include <unistd.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "app/SettingsFile.h"
#include "app/WorkSession.h"
#include "guidance/GuidanceLines.h"
#include "guidance/Projection.h"
#include "journal/WorkJournal.h"

namespace {

// The field's corner, and metres per degree there.
constexpr double kLon0 = 11.6821;
constexpr double kLat0 = 48.2103;
constexpr double kMetresPerDegreeLat = 111200.0;
const double kMetresPerDegreeLon = 111320.0 * std::cos(kLat0 * M_PI / 180.0);

struct Drive {
    std::vector<GPS_POSITION> fixes;
    int passEnd = 0;  // index of the last fix of the first pass
};

GPS_POSITION fixAt(double eastMetres, double northMetres, double wobble) {
    GPS_POSITION fix;
    std::memset(&fix, 0, sizeof fix);
    fix.longitude = kLon0 + (eastMetres + wobble) / kMetresPerDegreeLon;
    fix.latitude = kLat0 + northMetres / kMetresPerDegreeLat;
    fix.speed = 4.3f;  // knots
    fix.hdop = 0.9f;
    fix.fixQuality = 2;
    fix.satelliteCount = 11;
    return fix;
}

// Twenty 300 m passes 12 m apart with a half-circle turn between them; the steering wanders
// by some decimetres as a driver's does.
Drive makeDrive() {
    Drive drive;
    const double step = 0.22;  // metres per fix
    const double length = 300.0;
    for (int pass = 0; pass < 20; ++pass) {
        double x = pass * 12.0;
        bool north = pass % 2 == 0;
        for (double s = 0.0; s <= length; s += step) {
            double y = north ? s : length - s;
            drive.fixes.push_back(fixAt(x, y, 0.4 * std::sin(s * 0.05 + pass)));
        }
        if (pass == 0) drive.passEnd = static_cast<int>(drive.fixes.size()) - 1;
        double centreX = x + 6.0;
        double yEnd = north ? length : 0.0;
        for (double a = M_PI; a > 0.0; a -= step / 6.0) {
            double y = yEnd + (north ? 6.0 : -6.0) * std::sin(a);
            drive.fixes.push_back(fixAt(centreX + 6.0 * std::cos(a), y, 0.0));
        }
    }
    return drive;
}

// Mean nanoseconds per fix over five works of the whole drive. With shortTrack the record
// count is put back before every fix: every fix still appends a record and adds its quad.
double runDrive(const Drive& drive, bool shortTrack) {
    using Clock = std::chrono::steady_clock;
    Clock::duration total{};
    long fixes = 0;
    for (int round = 0; round < 5; ++round) {
        // A new work each round, as after "finish the work" and saving.
        journalEndWork();
        resetWork();
        appState.ui.screenState = kStateSettingAB;
        for (int i = 0; i < static_cast<int>(drive.fixes.size()); ++i) {
            // Past the twenty records after which the heading is smoothed.
            if (shortTrack && appState.work.strips.size() > 21) appState.work.strips.resize(21);
            auto start = Clock::now();
            onFix(drive.fixes[i]);
            total += Clock::now() - start;
            if (i == drive.passEnd) {
                // Points A and B at the ends of the first pass, and guidance from then on.
                setAbLine(appState.work.guidance, {0.0, 0.0},
                          {double(appState.work.position.x), double(appState.work.position.y)},
                          120.0);
                appState.ui.screenState = kStateGuidance;
            }
        }
        fixes += static_cast<long>(drive.fixes.size());
    }
    return std::chrono::duration<double, std::nano>(total).count() / fixes;
}

}  // namespace

int main() {
    setUpProjection(appState.projection);
    appState.settings.implementHalfWidth = 600;
    appState.settings.implementWidth = 1200;
    Drive drive = makeDrive();
    double shortTrack = runDrive(drive, true);
    double fullTrack = runDrive(drive, false);
    char folder[] = "/tmp/sulco-bench-journal-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/", folder);
    journalSetEnabled(true, settingsFolder);
    double journalled = runDrive(drive, true);
    journalEndWork();
    journalStop();
    std::remove((std::string(folder) + "/work.journal").c_str());
    rmdir(folder);
    std::printf("fix_ns: %.0f\n", shortTrack);
    std::printf("fix_journal_ns: %.0f\n", journalled);
    std::printf("fix_full_track_ns: %.0f\n", fullTrack);
    std::fprintf(stderr, "bench_fix: %zu fixes a work, %d strip records, %.2f ha, %.3f km\n",
                 drive.fixes.size(), int(appState.work.strips.size()),
                 appState.work.workedArea * 1e-6, appState.work.distance * 1e-4);
    releaseProjection(appState.projection);
    return 0;
}
