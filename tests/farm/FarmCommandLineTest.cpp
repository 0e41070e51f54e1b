// The farm book's conversions as a farmer runs them: the real sulcomain, copied into a folder of
// its own (its Settings.dat and farm.gpkg land beside it), with fields from a GeoJSON file, an
// NMEA log driven over one of them, and the book and the export read back by GDAL.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>

#include "tests/farm/FarmTestSupport.h"
#include "tests/support/NmeaFraming.h"

using namespace farm_test;
namespace fs = std::filesystem;

namespace {

constexpr double kX = 694000.0, kY = 5338000.0;

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

ProgramRun runProgram(const std::string& folder, const std::string& arguments) {
    ProgramRun run;
    const std::string errFile = folder + "/stderr.txt";
    const std::string command =
        "cd '" + folder + "' && ./sulcomain " + arguments + " 2>'" + errFile + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}

// The program and its receiver library, which it finds beside itself.
std::string privateProgram(const std::string& name) {
    const std::string folder = freshFolder(name);
    for (const char* file : {"sulcomain", "libsatlinker.so"})
        fs::copy_file(std::string(SULCO_BINARY_DIR) + "/" + file, folder + "/" + file);
    return folder;
}

Exact rectangle(double x, double y, double w, double h) {
    Exact e;
    e.rings.push_back({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
    return e;
}

void writeFields(const std::string& path) {
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GeoJSON");
    GDALDatasetUniquePtr ds(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRLayer* layer = ds->CreateLayer("fields", &wgs84, wkbPolygon, nullptr);
    OGRFieldDefn name("name", OFTString);
    EXPECT_EQ(layer->CreateField(&name), OGRERR_NONE);
    const Transform zone(kZone32);
    Exact bow;
    bow.rings.push_back(
        {{kX + 500, kY}, {kX + 700, kY + 200}, {kX + 700, kY}, {kX + 500, kY + 200}});
    const std::pair<const char*, Exact> fields[] = {{"Lange Breite", rectangle(kX, kY, 300, 200)},
                                                    {"Bow", bow}};
    for (const auto& [label, exact] : fields) {
        OGRPolygon polygon;
        OGRLinearRing ring;
        for (std::size_t i = 0; i <= exact.rings[0].size(); ++i) {
            const auto& p = exact.rings[0][i % exact.rings[0].size()];
            const LonLat q = zone.degrees(p[0], p[1]);
            ring.addPoint(q.lon, q.lat);
        }
        polygon.addRing(&ring);
        OGRFeature* f = OGRFeature::CreateFeature(layer->GetLayerDefn());
        f->SetField("name", label);
        f->SetGeometry(&polygon);
        EXPECT_EQ(layer->CreateFeature(f), OGRERR_NONE);
        OGRFeature::DestroyFeature(f);
    }
}

std::string angle(double degrees, int degreeDigits) {
    const double whole = std::floor(degrees);
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%011.8f", degreeDigits, int(whole),
                  (degrees - whole) * 60.0);
    return text;
}

// Five passes of 180 m northward and back, 12 m apart, a fix every metre at 5 m/s, on
// 1 June 2026 from 08:00:00 UTC; from 10 m north of the field's south side, or north more.
void writeLog(const std::string& path, double north = 0.0) {
    const Transform zone(kZone32);
    std::vector<std::array<double, 2>> track;
    for (int pass = 0; pass < 5; ++pass) {
        const double x = kX + 30.0 + 12.0 * pass;
        for (int s = 0; s <= 180; ++s)
            track.push_back({x, kY + 10.0 + north + (pass % 2 == 0 ? s : 180 - s)});
        if (pass < 4)
            for (int s = 1; s < 12; ++s) track.push_back({x + s, track.back()[1]});
    }
    std::ofstream log(path, std::ios::binary);
    for (std::size_t i = 0; i < track.size(); ++i) {
        const LonLat p = zone.degrees(track[i][0], track[i][1]);
        const double t = 8 * 3600.0 + 0.2 * double(i);
        char time[16];
        std::snprintf(time, sizeof time, "%02d%02d%05.2f", int(t / 3600), int(t / 60) % 60,
                      std::fmod(t, 60.0));
        const auto& next = track[std::min(i + 1, track.size() - 1)];
        const auto& here = track[i];
        double course = std::atan2(next[0] - here[0], next[1] - here[1]) * 180.0 / M_PI;
        if (course < 0) course += 360.0;
        char tail[64];
        std::snprintf(tail, sizeof tail, ",9.72,%.1f,010626,,,R", course);
        log << nmeatest::sentence("GPRMC," + std::string(time) + ",A," + angle(p.lat, 2) + ",N," +
                                  angle(p.lon, 3) + ",E" + tail);
        log << nmeatest::sentence("GPGGA," + std::string(time) + "," + angle(p.lat, 2) + ",N," +
                                  angle(p.lon, 3) + ",E,4,12,0.9,480.0,M,47.0,M,1.0,0000");
    }
}

}  // namespace

// The work's ground in the book, in square metres of its UTM zone: all of it, and the part in
// the field's rectangle.
void workGroundM2(const std::string& book, double& all, double& inField) {
    GDALDatasetUniquePtr ds(GDALDataset::Open(book.c_str(), GDAL_OF_VECTOR));
    ASSERT_TRUE(ds);
    OGRLayer* works = ds->GetLayerByName("works");
    ASSERT_EQ(works->GetFeatureCount(), 1);
    OGRFeatureUniquePtr w(works->GetNextFeature());
    OGRGeometry* ground = w->GetGeometryRef()->clone();
    OGRSpatialReference utm, wgs84;
    utm.importFromEPSG(kZone32);
    wgs84.importFromEPSG(4326);
    utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    ground->assignSpatialReference(&wgs84);
    ASSERT_EQ(ground->transformTo(&utm), OGRERR_NONE);
    OGRPolygon field;
    OGRLinearRing ring;
    const Exact langeBreite = rectangle(kX, kY, 300, 200);
    for (const auto& p : langeBreite.rings[0]) ring.addPoint(p[0], p[1]);
    ring.closeRings();
    field.addRing(&ring);
    all = ground->toMultiPolygon()->get_Area();
    OGRGeometry* cut = ground->Intersection(&field);
    inField = cut ? OGR_G_Area(OGRGeometry::ToHandle(cut)) : 0.0;
    delete cut;
    delete ground;
}

TEST(FarmCommandLine, SectionsOfAnImportedWorkStopAtItsFieldsBoundary) {
    const std::string folder = privateProgram("cli-sections");
    writeFields(folder + "/fields.geojson");
    ASSERT_EQ(runProgram(folder, "--import-fields fields.geojson").status, 0);
    // The passes run 100 m past the field's north side, and turn out there.
    writeLog(folder + "/drive.nmea", 100.0);
    ProgramRun work = runProgram(
        folder, "--import-nmea drive.nmea --field 'Lange Breite' --width 12 --sections 8");
    ASSERT_EQ(work.status, 0) << work.err;
    double all = 0, inField = 0;
    workGroundM2(folder + "/farm.gpkg", all, inField);
    // Five passes of 12 m side by side from 110 m to the side at 200 m and the turns between
    // them at the south: about 0.55 ha (the passes alone would work 1.1 ha), none outside.
    EXPECT_GT(all, 5 * 12.0 * 90);
    EXPECT_LT(all, 5 * 12.0 * 96);
    EXPECT_LT(all - inField, 0.005 * all);
}

TEST(FarmCommandLine, FieldsInAnNmeaWorkIntoTheBookAndTheFieldsWorksOut) {
    const std::string folder = privateProgram("cli");
    writeFields(folder + "/fields.geojson");
    ProgramRun imported = runProgram(folder, "--import-fields fields.geojson");
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "Lange Breite: 6.0000 ha\nBow: 2.0000 ha (made valid)\n");

    writeLog(folder + "/drive.nmea");
    ProgramRun work =
        runProgram(folder, "--import-nmea drive.nmea --field 'Lange Breite' --width 12");
    ASSERT_EQ(work.status, 0) << work.err;
    std::smatch m;
    const std::regex line(
        "Lange Breite: ([0-9]+) strip records, ([0-9.]+) ha, ([0-9.]+) km, overlap ([0-9.]+) "
        "ha\n");
    ASSERT_TRUE(std::regex_match(work.out, m, line)) << work.out;
    const double groundHa = std::stod(m[2]);
    // Five passes of 12 m side by side, 180 m long, and the turns: about 1.1 ha.
    EXPECT_GT(groundHa, 1.0);
    EXPECT_LT(groundHa, 1.3);

    // The book as GDAL reads it: the work belongs to Lange Breite, with its figures and ground.
    {
        GDALDatasetUniquePtr ds(GDALDataset::Open((folder + "/farm.gpkg").c_str(), GDAL_OF_VECTOR));
        ASSERT_TRUE(ds);
        GIntBig fieldId = 0;
        for (auto& f : *ds->GetLayerByName("fields"))
            if (std::string(f->GetFieldAsString("name")) == "Lange Breite") fieldId = f->GetFID();
        ASSERT_NE(fieldId, 0);
        OGRLayer* works = ds->GetLayerByName("works");
        ASSERT_EQ(works->GetFeatureCount(), 1);
        OGRFeatureUniquePtr w(works->GetNextFeature());
        EXPECT_EQ(w->GetFieldAsInteger64("field_id"), fieldId);
        EXPECT_STREQ(w->GetFieldAsString("start_time"), "2026-06-01T08:00:00Z");
        EXPECT_STREQ(w->GetFieldAsString("end_time"), "2026-06-01T08:03:09Z");
        EXPECT_NEAR(w->GetFieldAsDouble("ground_ha"), groundHa, 1e-4);
        EXPECT_NEAR(w->GetFieldAsDouble("overlap_ha"), std::stod(m[4]), 1e-4);
        EXPECT_NEAR(w->GetFieldAsDouble("distance_km"), std::stod(m[3]), 1e-4);
        EXPECT_DOUBLE_EQ(w->GetFieldAsDouble("width_m"), 12.0);
        const OGRGeometry* g = w->GetGeometryRef();
        ASSERT_TRUE(g);
        OGRGeometry* inZone = g->clone();
        OGRSpatialReference utm, wgs84;
        utm.importFromEPSG(kZone32);
        wgs84.importFromEPSG(4326);
        utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        inZone->assignSpatialReference(&wgs84);
        ASSERT_EQ(inZone->transformTo(&utm), OGRERR_NONE);
        EXPECT_NEAR(inZone->toMultiPolygon()->get_Area() / 1e4, groundHa, groundHa * 0.005);
        delete inZone;
    }

    ProgramRun exported = runProgram(folder, "--export-field 'Lange Breite' --to works.geojson");
    ASSERT_EQ(exported.status, 0) << exported.err;
    {
        GDALDatasetUniquePtr ds(
            GDALDataset::Open((folder + "/works.geojson").c_str(), GDAL_OF_VECTOR));
        ASSERT_TRUE(ds);
        OGRLayer* layer = ds->GetLayer(0);
        ASSERT_EQ(layer->GetFeatureCount(), 1);
        OGRFeatureUniquePtr f(layer->GetNextFeature());
        EXPECT_STREQ(f->GetFieldAsString("field"), "Lange Breite");
        EXPECT_NEAR(f->GetFieldAsDouble("ground_ha"), groundHa, 1e-4);
        ASSERT_TRUE(f->GetGeometryRef());
        EXPECT_EQ(wkbFlatten(f->GetGeometryRef()->getGeometryType()), wkbMultiPolygon);
    }

    ProgramRun unknown = runProgram(folder, "--import-nmea drive.nmea --field Hinterholz");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("Hinterholz"), std::string::npos) << unknown.err;
    EXPECT_NE(unknown.err.find("--import-fields"), std::string::npos) << unknown.err;
    ProgramRun badFormat = runProgram(folder, "--export-field 'Lange Breite' --to works.dxf");
    EXPECT_EQ(badFormat.status, 1);
    EXPECT_FALSE(fs::exists(folder + "/works.dxf"));
    ProgramRun missing = runProgram(folder, "--import-fields nothing.shp");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nothing.shp"), std::string::npos) << missing.err;
}
