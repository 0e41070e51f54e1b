// A work of a million strip records, from the fix callback to the saved files: a 36 m implement
// on 500 back-and-forth passes of 1 km with a record every 0.5 m, paused at every headland. A
// child process drives it with its journal on and is killed once the journal is written; the
// work is resumed from that journal, saved as a shapefile and read back with GDAL, reviewed,
// and converted to KML, read back with GDAL too. Every count and area is checked against the
// drive's own geometry.
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/FixPipeline.h"
#include "app/ProgramClock.h"
#include "app/ReviewThread.h"
#include "app/WindowProc.h"
#include "export/KmlExport.h"
#include "export/ShapefileExport.h"
#include "export/ShapefileReview.h"
#include "journal/JournalReader.h"
#include "journal/WorkJournal.h"
#include "platform/HeadlessPlatform.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr double kLon = 16.5;  // the field's south-west corner, in UTM zone 33
constexpr double kLat = 48.25;
constexpr int kPasses = 500;
constexpr int kRecordsPerPass = 2000;
constexpr std::size_t kRecords = std::size_t(kPasses) * kRecordsPerPass;
constexpr double kStep = 5.0;     // dm between records
constexpr double kWidth = 360.0;  // dm, the implement and the distance between passes
constexpr double kPassStart = 10.0;
constexpr double kPassEnd = kPassStart + kStep * (kRecordsPerPass - 1);
// The half circle of a headland, radius half the width, in steps of just over 0.5 m.
constexpr int kTurnSteps = 113;

// Where the drive is at fix j of pass k (plane decimetres), north on even passes.
PlanePoint passPoint(int k, int j) {
    const double along = kStep * j;
    return {kWidth * k, k % 2 == 0 ? kPassStart + along : kPassEnd - along};
}

// Point t (1 .. kTurnSteps - 1) of the headland turn from the end of pass k to the start of
// pass k + 1; point kTurnSteps would be that start.
PlanePoint turnPoint(int k, int t) {
    const double r = kWidth / 2.0;
    const double a = M_PI * t / kTurnSteps;
    const double y = k % 2 == 0 ? kPassEnd + r * std::sin(a) : kPassStart - r * std::sin(a);
    return {kWidth * k + r - r * std::cos(a), y};
}

// What the killed run had, handed up before the kill.
struct Totals {
    std::uint64_t records = 0;
    double area = 0.0;
    double distance = 0.0;
    std::uint64_t marks = 0;
    int journalWritten = 0;
};

// A clock a second later at every reading.
class RushingClock final : public Clock {
  public:
    Millis now() const override { return Millis(ms_ += 1000); }

  private:
    mutable std::atomic<long long> ms_{1'000'000};
};

std::string journalFolder;
std::string folderOfJournal() {
    return journalFolder;
}

platform::HeadlessPlatform& headless() {
    static platform::HeadlessPlatform* instance = [] {
        auto* p = new platform::HeadlessPlatform;
        platform::install(p);
        return p;
    }();
    return *instance;
}

void fix(const guidance_test::PlaneFixes& fixes, PlanePoint p) {
    std::lock_guard lock(appState.frameLock);
    processFix(fixes.fixAt(p), FixUse::FreeWork);
}

// A tap on the map of the work screen: the pause, or its end.
void tapMap() {
    windowProc(kMsgPenDown, 0, std::intptr_t(packPenPosition(120, 150)));
}

// The child's whole life: the drive, the journal on the disk, the totals to the parent, then it
// waits to be killed.
[[noreturn]] void driveAndWait(int out) {
    headless();
    journalSetEnabled(true, folderOfJournal);
    pipeline_test::resetWork(kStateFreeWork);
    appState.settings.implementHalfWidth = std::uint16_t(kWidth * 5);
    appState.settings.implementWidth = std::uint16_t(kWidth * 10);
    // A record at every 0.5 m fix: the distance filter just below the step.
    appState.settings.distanceThreshold = 4;
    appState.settings.distanceThresholdSquared = 16;
    // The fixes' own plane: the same as the one the work's first fix sets up.
    WorkPlane plane;
    guidance_test::PlaneFixes fixes(kLon, kLat, appState.projection, plane);
    // The origin, then the seed of the first step, then the passes.
    fix(fixes, {0.0, 0.0});
    fix(fixes, {0.0, kPassStart - kStep});
    for (int k = 0; k < kPasses; ++k) {
        for (int j = 0; j < kRecordsPerPass; ++j) fix(fixes, passPoint(k, j));
        if (k + 1 == kPasses) break;
        tapMap();  // the implement is lifted at the headland
        for (int t = 1; t < kTurnSteps; ++t) fix(fixes, turnPoint(k, t));
        tapMap();
    }
    Totals totals;
    {
        std::lock_guard lock(appState.frameLock);
        totals.records = appState.work.strips.size();
        totals.area = appState.work.workedArea;
        totals.distance = appState.work.distance;
        totals.marks = appState.work.pauseMarks.size();
    }
    totals.journalWritten = journalFlush() ? 1 : 0;
    if (write(out, &totals, sizeof totals) != ssize_t(sizeof totals)) _exit(3);
    for (;;) pause();
}

// GDAL's own view of a vector file: per feature, the outer ring's point count and the area in
// square metres of UTM zone 33.
struct GdalRead {
    bool opened = false;
    std::vector<int> ringPoints;
    std::vector<double> areas;
};

GdalRead readWithGdal(const std::string& path) {
    GdalRead read;
    GDALAllRegister();
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (!ds) return read;
    read.opened = true;
    OGRSpatialReferenceH wgs84 = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(wgs84, 4326);
    OSRSetAxisMappingStrategy(wgs84, OAMS_TRADITIONAL_GIS_ORDER);
    OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(utm, 32633);
    OGRCoordinateTransformationH toUtm = OCTNewCoordinateTransformation(wgs84, utm);
    for (int l = 0; l < GDALDatasetGetLayerCount(ds); ++l) {
        OGRLayerH layer = GDALDatasetGetLayer(ds, l);
        OGR_L_ResetReading(layer);
        while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
            OGRGeometryH g = OGR_F_GetGeometryRef(feature);
            int points = 0;
            double area = 0.0;
            if (g && !OGR_G_IsEmpty(g) && wkbFlatten(OGR_G_GetGeometryType(g)) == wkbPolygon) {
                points = OGR_G_GetPointCount(OGR_G_GetGeometryRef(g, 0));
                OGRGeometryH projected = OGR_G_Clone(g);
                OGR_G_AssignSpatialReference(projected, wgs84);
                if (OGR_G_Transform(projected, toUtm) == OGRERR_NONE) area = OGR_G_Area(projected);
                OGR_G_DestroyGeometry(projected);
            }
            read.ringPoints.push_back(points);
            read.areas.push_back(area);
            OGR_F_Destroy(feature);
        }
    }
    OCTDestroyCoordinateTransformation(toUtm);
    OSRDestroySpatialReference(utm);
    OSRDestroySpatialReference(wgs84);
    GDALClose(ds);
    return read;
}

class MillionRecordWork : public ::testing::Test {
  protected:
    void SetUp() override {
        headless();
        char name[] = "/tmp/sulco-million-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder_ = name;
        journalFolder = folder_.string() + "/";
    }
    void TearDown() override {
        appState.ui.reviewRunning = 0;
        joinReview();
        journalSetEnabled(false);
        pipeline_test::resetWork();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
};

TEST_F(MillionRecordWork, JournaledKilledResumedSavedReviewedAndConverted) {
    // The drive's own geometry: each pass is a 36 m strip over its 1999 steps; the record after
    // a headland adds the turn's last chord to the distance.
    const double passArea = kWidth * kStep * (kRecordsPerPass - 1);  // dm^2
    const double chord = kWidth * std::sin(M_PI / (2 * kTurnSteps));
    const double distance = kPasses * kStep * (kRecordsPerPass - 1) + (kPasses - 1) * chord;

    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A test runner that gives up on the parent takes the child with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(pipeFds[0]);
        driveAndWait(pipeFds[1]);
    }
    close(pipeFds[1]);
    Totals killed;
    const ssize_t got = read(pipeFds[0], &killed, sizeof killed);
    close(pipeFds[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(got, ssize_t(sizeof killed)) << "the drive ended before handing its totals up";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    ASSERT_EQ(killed.journalWritten, 1);
    ASSERT_EQ(killed.records, kRecords);
    EXPECT_EQ(killed.marks, std::uint64_t(kPasses - 1));
    // The quads across the headlands, between a pass's last record and the next one's first
    // (its edges turned by the turn's last chord), add a few square metres each.
    EXPECT_NEAR(killed.area, kPasses * passArea, 1e-3 * kPasses * passArea);
    EXPECT_NEAR(killed.distance, distance, 1.0);

    // The resume, as the program reads the journal at its next start.
    std::ifstream in(journalFolder + "work.journal", std::ios::binary);
    ASSERT_TRUE(in);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    journal::JournalContents contents = journal::readJournal(bytes.data(), bytes.size());
    bytes = {};
    ASSERT_TRUE(contents.readable);
    EXPECT_FALSE(contents.damaged);
    pipeline_test::resetWork();
    EXPECT_TRUE(loadJournalWork(contents, true));
    contents = {};
    ASSERT_EQ(appState.work.strips.size(), kRecords);
    EXPECT_EQ(appState.work.workedArea, killed.area);  // bit for bit
    EXPECT_EQ(appState.work.distance, killed.distance);
    // Every headland, and the new segment the resume starts.
    ASSERT_EQ(appState.work.pauseMarks.size(), std::size_t(kPasses));
    for (int k = 0; k < kPasses; ++k)
        ASSERT_EQ(appState.work.pauseMarks[k], std::uint32_t((k + 1) * kRecordsPerPass)) << k;
    // Records past the first blocks are where the drive put them.
    for (std::size_t i : {std::size_t(65535), std::size_t(65536), kRecords / 2, kRecords - 1}) {
        const int k = int(i / kRecordsPerPass), j = int(i % kRecordsPerPass);
        const PlanePoint p = passPoint(k, j);
        const TrackEdge& e = appState.work.strips[i];
        EXPECT_NEAR((e.leftX + e.rightX) / 2, p.x, 0.01) << i;
        EXPECT_NEAR((e.leftY + e.rightY) / 2, p.y, 0.01) << i;
        EXPECT_NEAR(std::hypot(e.rightX - e.leftX, e.rightY - e.leftY), kWidth, 0.01) << i;
    }

    // The save: one polygon per pass (and the empty segment the resume opened), each the pass's
    // strip as GDAL measures it in square metres.
    const std::string shp = folder_ / "million.shp";
    ASSERT_EQ(exportShapefile(shp, appState.work, appState.projection), 1);
    GdalRead saved = readWithGdal(shp);
    ASSERT_TRUE(saved.opened);
    ASSERT_EQ(saved.ringPoints.size(), std::size_t(kPasses + 1));
    double savedArea = 0.0;
    for (int k = 0; k < kPasses; ++k) {
        EXPECT_EQ(saved.ringPoints[k], 2 * kRecordsPerPass + 1) << k;
        EXPECT_NEAR(saved.areas[k] * 100.0, passArea, 2e-3 * passArea) << k;
        savedArea += saved.areas[k] * 100.0;
    }
    EXPECT_EQ(saved.ringPoints[kPasses], 0);
    // The work's area also counts the quads across the headlands, which are all but flat.
    EXPECT_NEAR(savedArea, appState.work.workedArea, 5e-4 * savedArea);

    // The review loads every record and replays them into the same area and segments.
    const double area = appState.work.workedArea;
    std::string path = shp;
    ASSERT_EQ(readShapefileForReview(path, appState.projection, appState.work, appState.review), 1);
    ASSERT_EQ(appState.review.edges.size(), kRecords);
    ASSERT_EQ(appState.review.positions.size(), kRecords);
    // The largest step, on a clock that runs a second ahead at every look: the replay's pace
    // costs no real time.
    appState.settings.reviewStep = 255;
    static RushingClock clock;
    setProgramClock(&clock);
    appState.layout.display = nullptr;
    appState.ui.screenState = kStateReview;
    appState.ui.paused = 0;
    appState.ui.menuDuringReview = 0;
    appState.ui.pauseNoticePending = 0;
    appState.ui.reviewRunning = 1;
    startReview();
    while (appState.ui.reviewRunning) std::this_thread::sleep_for(5ms);
    joinReview();
    setProgramClock(nullptr);
    appState.settings.reviewStep = 1;
    ASSERT_EQ(appState.work.strips.size(), kRecords);
    EXPECT_NEAR(appState.work.workedArea, area, 1e-6 * area);
    std::vector<std::uint32_t> starts;
    for (std::uint32_t mark : appState.work.pauseMarks)
        if (starts.empty() || starts.back() != mark) starts.push_back(mark);
    ASSERT_EQ(starts.size(), std::size_t(kPasses));
    for (int k = 0; k < kPasses; ++k)
        EXPECT_EQ(starts[k], std::uint32_t((k + 1) * kRecordsPerPass)) << k;

    // The KML document: a placemark per pass with every vertex of its ring, as GDAL reads it.
    std::string kmlFrom = shp;
    ASSERT_EQ(convertShapefileToKml(kmlFrom, 0x00FF00), 1);
    GdalRead kml = readWithGdal((folder_ / "million.kml").string());
    ASSERT_TRUE(kml.opened);
    ASSERT_EQ(kml.ringPoints.size(), std::size_t(kPasses));
    double kmlArea = 0.0;
    for (int k = 0; k < kPasses; ++k) {
        EXPECT_EQ(kml.ringPoints[k], 2 * kRecordsPerPass + 1) << k;
        kmlArea += kml.areas[k] * 100.0;
    }
    // Six decimals of a degree: a tenth of a metre at most on each vertex.
    EXPECT_NEAR(kmlArea, savedArea, 1e-3 * savedArea);
}

}  // namespace
