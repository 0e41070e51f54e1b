// A work's line kept for the next season: written beside the work, read by GDAL as WGS 84, and
// taken into a new work whose plane has another origin, each vertex where PROJ puts it.
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "export/GuideLineFile.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using guidance_test::Utm;
using pipeline_test::PlaneFixes;

// A bend of 60 m around a field corner in plane decimetres.
std::vector<Vec2> bend() {
    std::vector<Vec2> path;
    for (int i = 0; i <= 60; ++i) {
        const double a = i * (M_PI / 2) / 60;
        path.push_back({600.0 * std::sin(a) + 35.5, 600.0 - 600.0 * std::cos(a) - 12.25});
    }
    return path;
}

TEST(GuideLineFile, CurveKeptBesideTheWorkGuidesANewWorkOnTheSameTracks) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string work = dir.path().toStdString() + "/Feld M\u00fcller.shp";
    const double lon1 = 9.3817, lat1 = 51.2273;
    pipeline_test::resetWork(kStateGuidance);
    pipeline_test::PlaneFixes plane1(lon1, lat1);
    ASSERT_TRUE(setCurvePath(appState.work.curve, bend(), 120.0));
    appState.work.curveActive = 1;
    ASSERT_TRUE(writeGuideLine(work, appState.work, appState.settings.guidancePattern,
                               appState.projection));
    const std::string file = dir.path().toStdString() + "/Feld M\u00fcller.line.geojson";
    EXPECT_EQ(guideLinePath(work), file);

    // Read back by GDAL itself: one line in WGS 84, each vertex where PROJ puts the plane point.
    GDALAllRegister();
    GDALDatasetH ds = GDALOpenEx(file.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    ASSERT_NE(ds, nullptr);
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    OGRSpatialReferenceH srs = OGR_L_GetSpatialRef(layer);
    ASSERT_NE(srs, nullptr);
    EXPECT_TRUE(OSRIsGeographic(srs));
    EXPECT_STREQ(OSRGetAuthorityCode(srs, nullptr), "4326");
    OGRFeatureH feature = OGR_L_GetNextFeature(layer);
    ASSERT_NE(feature, nullptr);
    OGRGeometryH line = OGR_F_GetGeometryRef(feature);
    const std::vector<Vec2> path = bend();
    ASSERT_EQ(OGR_G_GetPointCount(line), int(path.size()));
    Utm utm1(32, true);
    double e0 = 0, n0 = 0;
    utm1.forward(lon1, lat1, e0, n0);
    for (std::size_t i = 0; i < path.size(); ++i) {
        double lon = 0, lat = 0;
        utm1.inverse(e0 + path[i].x / 10, n0 + path[i].y / 10, lon, lat);
        // 1e-7 degrees: about a centimetre.
        EXPECT_NEAR(OGR_G_GetX(line, int(i)), lon, 1e-7);
        EXPECT_NEAR(OGR_G_GetY(line, int(i)), lat, 1e-7);
    }
    EXPECT_STREQ(OGR_F_GetFieldAsString(feature, OGR_F_GetFieldIndex(feature, "pattern")), "curve");
    OGR_F_Destroy(feature);
    GDALClose(ds);

    // Next season: a new AB work starting 300 m away, in a plane of its own.
    SavedGuideLine saved;
    ASSERT_TRUE(readGuideLine(file, saved));
    EXPECT_EQ(saved.pattern, kPatternCurve);
    pipeline_test::resetWork(kStateSettingAB);
    appState.ui.savedLineLonLat = saved.lonLat;
    appState.ui.savedLinePattern = saved.pattern;
    const double lon2 = lon1 + 0.004, lat2 = lat1 - 0.0015;
    pipeline_test::PlaneFixes plane2(lon2, lat2);
    onFix(plane2.fixAt({0.0, 0.0}, 4.0f, 0.9f));
    onFix(plane2.fixAt({0.0, 15.0}, 4.0f, 0.9f));
    onFix(plane2.fixAt({0.0, 30.0}, 4.0f, 0.9f));
    ASSERT_EQ(appState.ui.screenState, kStateGuidance) << "straight into guidance";
    ASSERT_TRUE(appState.work.curveActive);
    ASSERT_EQ(appState.work.curve.path.size(), path.size());
    double e2 = 0, n2 = 0;
    utm1.forward(lon2, lat2, e2, n2);
    for (std::size_t i = 0; i < path.size(); ++i) {
        // The same ground point, seen from the new origin.
        EXPECT_NEAR(appState.work.curve.path[i].x, path[i].x - (e2 - e0) * 10, 0.1);
        EXPECT_NEAR(appState.work.curve.path[i].y, path[i].y - (n2 - n0) * 10, 0.1);
    }
    EXPECT_TRUE(appState.ui.savedLineLonLat.empty());
    resetWork();
}

TEST(GuideLineFile, StraightLineAndFilesThatAreNoLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    pipeline_test::resetWork(kStateGuidance);
    pipeline_test::PlaneFixes plane(-93.61, 41.95);
    setAbLine(appState.work.guidance, {10.0, 20.0}, {10.5, 1020.0}, 120.0);
    appState.settings.guidancePattern = kPatternHeading;
    const std::string work = dir.path().toStdString() + "/acker.2024";
    ASSERT_TRUE(writeGuideLine(work, appState.work, appState.settings.guidancePattern,
                               appState.projection));
    SavedGuideLine saved;
    ASSERT_TRUE(readGuideLine(dir.path().toStdString() + "/acker.line.geojson", saved));
    EXPECT_EQ(saved.pattern, kPatternHeading);
    EXPECT_EQ(saved.lonLat.size(), 4u);
    appState.settings.guidancePattern = kPatternStraight;

    // Nothing to keep, and files that hold no line, leave everything as it was.
    appState.work.guidance = {};
    EXPECT_FALSE(writeGuideLine(dir.path().toStdString() + "/none.shp", appState.work,
                                appState.settings.guidancePattern, appState.projection));
    const std::string junk = dir.path().toStdString() + "/junk.line.geojson";
    for (const char* text : {"", "{", "{\"type\":\"Point\",\"coordinates\":[1,2]}",
                             "{\"type\":\"LineString\",\"coordinates\":[[1,2]]}",
                             "{\"type\":\"LineString\",\"coordinates\":[[1,2],[500,2]]}"}) {
        std::ofstream(junk) << text;
        SavedGuideLine kept = saved;
        EXPECT_FALSE(readGuideLine(junk, kept)) << text;
        EXPECT_EQ(kept.lonLat, saved.lonLat);
    }
    EXPECT_FALSE(readGuideLine(dir.path().toStdString() + "/missing.line.geojson", saved));
}

}  // namespace
