// A farm's field from end to end with the real program: the field comes in through the command
// line, the start screen offers it first because the tractor stands in it, a work driven by
// gpssim is saved into the farm book, and the next run continues that work, whose ground is
// worked ground from the first metre. The book is read back with GDAL itself.
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "app/FieldChoice.h"
#include "app/FieldWork.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// gpssim's field: passes of 60 m northward from its origin, 12 m apart, at 36 km/h.
constexpr double kLat = 48.1173, kLon = 11.5167;
const std::vector<std::string> kDrive = {"--rate",   "10", "--speed",   "36",
                                         "--length", "60", "--spacing", "12"};

// A rectangle of metres around the origin as a GeoJSON polygon.
std::string rectangle(double west, double south, double east, double north) {
    const double mLat = 1.0 / 111320.0, mLon = mLat / std::cos(kLat * M_PI / 180.0);
    char text[512];
    std::snprintf(text, sizeof text,
                  "[[[%.9f,%.9f],[%.9f,%.9f],[%.9f,%.9f],[%.9f,%.9f],[%.9f,%.9f]]]",
                  kLon + west * mLon, kLat + south * mLat, kLon + east * mLon, kLat + south * mLat,
                  kLon + east * mLon, kLat + north * mLat, kLon + west * mLon, kLat + north * mLat,
                  kLon + west * mLon, kLat + south * mLat);
    return text;
}

// Two fields: "Far" comes first by name, "North" is where the tractor stands.
void writeFields(const std::string& path) {
    std::ofstream out(path);
    out << R"({"type":"FeatureCollection","features":[)"
        << R"({"type":"Feature","properties":{"name":"Far"},"geometry":{"type":"Polygon",)"
        << R"("coordinates":)" << rectangle(2000, 0, 2200, 100) << "}},"
        << R"({"type":"Feature","properties":{"name":"North"},"geometry":{"type":"Polygon",)"
        << R"("coordinates":)" << rectangle(-20, -20, 200, 90) << "}}]}";
}

int runProgram(const std::string& folder, const std::string& arguments) {
    const std::string command = "cd '" + folder + "' && QT_QPA_PLATFORM=offscreen ./sulcomain " +
                                arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct SavedWorks {
    int count = -1;
    double groundHa = 0.0;
};

SavedWorks worksInBook(const std::string& book) {
    SavedWorks saved;
    GDALAllRegister();
    GDALDatasetH ds = GDALOpenEx(book.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (!ds) return saved;
    if (OGRLayerH layer = GDALDatasetGetLayerByName(ds, "works")) {
        saved.count = int(OGR_L_GetFeatureCount(layer, TRUE));
        OGR_L_ResetReading(layer);
        if (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
            saved.groundHa = OGR_F_GetFieldAsDouble(f, OGR_F_GetFieldIndex(f, "ground_ha"));
            OGR_F_Destroy(f);
        }
    }
    GDALClose(ds);
    return saved;
}

// The first row under the title of the field choice.
void tapFirstField(RunningProgram& program) {
    const int row = fieldChoiceRowHeight();
    program.tapAt(appState.layout.screenWidth / 2, row + row / 2);
}

void finishIntoTheBook(RunningProgram& program) {
    program.tap(appState.layout.btnFinish);
    ASSERT_TRUE(program.reaches(kStateConfirm));
    program.tap(appState.layout.btnYes);  // finish the work
    program.tap(appState.layout.btnYes);  // save it into the farm book
    ASSERT_TRUE(program.reaches(kStateStart, 60s));
}

}  // namespace

TEST(EndToEnd, AFieldIsChosenByWhereTheTractorStandsWorkedSavedAndContinued) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    // The real program, beside this one: the same Settings.dat and farm book.
    for (const char* file : {"sulcomain", "libsatlinker.so"})
        fs::copy_file(std::string(SULCO_BINARY_DIR) + "/" + file, dir + "/" + file,
                      fs::copy_options::overwrite_existing);
    writeFields(dir + "/fields.geojson");
    ASSERT_EQ(runProgram(dir, "--import-fields fields.geojson"), 0);
    const std::string book = dir + "/farm.gpkg";
    ASSERT_TRUE(fs::exists(book));

    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn(kDrive));
    double savedGround = 0.0;
    {
        RunningProgram program;
        ASSERT_TRUE(program.open(receiver.link()));
        // The book is read on its own thread; the first tap may come before it is.
        ASSERT_TRUE(waitUntil([&] {
            if (program.state() == kStateGpsWait) program.tap(appState.layout.btnNo);
            if (program.state() == kStateStart) program.tap(appState.layout.btnStartFree);
            return program.reaches(kStateFieldChoice, 500ms);
        }));
        ASSERT_TRUE(
            waitUntil([] { return underFrameLock([] { return appState.fix.lonLatKnown; }); }));
        tapFirstField(program);
        ASSERT_TRUE(program.reaches(kStateFreeWork, 40s));
        EXPECT_EQ(underFrameLock([] { return workField.entry.name; }), "North");
        // Two passes and their turn.
        ASSERT_TRUE(waitUntil(
            [] { return underFrameLock([] { return appState.work.distance; }) > 1500.0; }, 60s));
        EXPECT_TRUE(
            underFrameLock([] { return workField.inPlane && workField.groundInField > 0; }));
        savedGround = underFrameLock([] { return appState.work.groundArea; });
        finishIntoTheBook(program);
        const SavedWorks works = worksInBook(book);
        EXPECT_EQ(works.count, 1);
        EXPECT_GT(works.groundHa, savedGround * 1e-6 * 0.99);
        savedGround = works.groundHa * 1e6;
        program.close();
    }
    receiver.unplug();

    // The next day the tractor starts from the same place: the same passes again.
    SimulatedReceiver again(dir + "/gps2");
    ASSERT_TRUE(again.plugIn(kDrive));
    RunningProgram program;
    ASSERT_TRUE(program.open(again.link()));
    ASSERT_TRUE(waitUntil([&] {
        if (program.state() == kStateGpsWait) program.tap(appState.layout.btnNo);
        if (program.state() == kStateStart) program.tap(appState.layout.btnStartFree);
        return program.reaches(kStateFieldChoice, 500ms);
    }));
    ASSERT_TRUE(waitUntil([] { return underFrameLock([] { return appState.fix.lonLatKnown; }); }));
    tapFirstField(program);
    ASSERT_TRUE(program.reaches(kStateConfirm));
    program.tap(appState.layout.btnYes);  // "Continue the last work"
    ASSERT_TRUE(program.reaches(kStateFreeWork, 40s));
    // Yesterday's ground is the work's from the start, and driving over it again warns.
    EXPECT_TRUE(waitUntil(
        [&] {
            return underFrameLock([] { return appState.work.groundArea; }) >= savedGround * 0.99;
        },
        20s));
    EXPECT_TRUE(waitUntil(
        [] { return underFrameLock([] { return appState.work.workedAhead.load() != 0; }); }, 30s));
    const double distance = underFrameLock([] { return appState.work.distance; });
    ASSERT_TRUE(waitUntil(
        [&] { return underFrameLock([] { return appState.work.distance; }) > distance + 300.0; },
        30s));
    // Thirty metres more over worked ground add next to no ground.
    EXPECT_LT(underFrameLock([] { return appState.work.groundArea; }), savedGround * 1.05);
    finishIntoTheBook(program);
    EXPECT_EQ(worksInBook(book).count, 1) << "the continued work replaces the first";
    program.close();
}
