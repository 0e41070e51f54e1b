// The farm book written by FarmBook and read back by FarmBook, by GDAL itself, by ogrinfo and by
// GDAL's GeoPackage validator.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "farm/FarmBook.h"
#include "tests/farm/FarmTestSupport.h"

using namespace farm_test;

namespace {

constexpr double kX = 700000.0, kY = 5340000.0;

FieldEntry squareField(const Transform& zone, const std::string& name, double x, double size) {
    FieldEntry field;
    field.name = name;
    Exact e{
        {denseRing({{{x, kY}}, {{x + size, kY}}, {{x + size, kY + size}}, {{x, kY + size}}}, 10.0),
         {{x + 10, kY + 10}, {x + 10, kY + 20}, {x + 20, kY + 20}, {x + 20, kY + 10}}}};
    field.boundary = zone.shape({e});
    field.areaHa = (size * size - 100.0) / 1e4;
    field.headland = zone.shape({Exact{{{{x + 30, kY + 30}},
                                        {{x + size - 30, kY + 30}},
                                        {{x + size - 30, kY + size - 30}},
                                        {{x + 30, kY + size - 30}}}}});
    field.headlandPasses = 2;
    field.headlandWidthM = 15.0;
    return field;
}

void expectSameShape(const FieldShape& a, const FieldShape& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].outer.size(), b[i].outer.size());
        for (std::size_t k = 0; k < a[i].outer.size(); ++k) {
            EXPECT_EQ(a[i].outer[k].lon, b[i].outer[k].lon);
            EXPECT_EQ(a[i].outer[k].lat, b[i].outer[k].lat);
        }
        ASSERT_EQ(a[i].holes.size(), b[i].holes.size());
        for (std::size_t h = 0; h < a[i].holes.size(); ++h)
            EXPECT_EQ(a[i].holes[h].size(), b[i].holes[h].size());
    }
}

// Every feature's field_id in a layer, by GDAL itself.
std::vector<GIntBig> fieldIdsIn(const std::string& path, const char* layerName) {
    std::vector<GIntBig> ids;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
    if (!ds) return {-1};
    OGRLayer* layer = ds->GetLayerByName(layerName);
    for (auto& f : *layer) ids.push_back(f->GetFieldAsInteger64("field_id"));
    return ids;
}

std::string run(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    status = ::pclose(pipe);
    return out;
}

// The two places Debian's python3-gdal keeps GDAL's GeoPackage validator.
std::string validator() {
    for (const char* path : {"/usr/lib/python3/dist-packages/osgeo_utils/samples/validate_gpkg.py",
                             "/usr/share/doc/python3-gdal/examples/validate_gpkg.py"})
        if (std::filesystem::exists(path)) return path;
    return {};
}

// A book with two fields, each with a headland, a line and a work.
struct TwoFields {
    explicit TwoFields(const std::string& folder) : path(folder + "/farm.gpkg") {
        std::string error;
        book = FarmBook::open(path, error);
        EXPECT_TRUE(book) << error;
        if (!book) return;
        for (int i = 0; i < 2; ++i) {
            fields.push_back(
                squareField(zone, "Acker " + std::to_string(i), kX + 300.0 * i, 200.0));
            fields[i].id = book->addField(fields[i], error);
            EXPECT_NE(fields[i].id, 0) << error;
            LineEntry line;
            line.fieldId = fields[i].id;
            line.name = "AB " + std::to_string(i);
            line.pattern = 2;
            line.a = zone.degrees(kX + 5, kY + 5);
            line.b = zone.degrees(kX + 5, kY + 195);
            line.headingDeg = 359.5;
            line.path = {line.a, zone.degrees(kX + 8, kY + 100), line.b};
            line.id = book->addLine(line, error);
            EXPECT_NE(line.id, 0) << error;
            lines.push_back(line);
            WorkEntry work;
            work.fieldId = fields[i].id;
            work.startTime = "2026-06-01T08:15:00Z";
            work.endTime = "2026-06-01T11:40:07Z";
            work.widthM = 12.0;
            work.groundHa = 3.5;
            work.overlapHa = 0.25;
            work.distanceKm = 3.1;
            ground.push_back(fields[i].headland);
            work.id = book->saveWork(work, ground.back(), error);
            EXPECT_NE(work.id, 0) << error;
            works.push_back(work);
        }
    }
    Transform zone{kZone32};
    std::string path;
    std::unique_ptr<FarmBook> book;
    std::vector<FieldEntry> fields;
    std::vector<LineEntry> lines;
    std::vector<WorkEntry> works;
    std::vector<FieldShape> ground;
};

}  // namespace

TEST(FarmBook, WhatIsWrittenIsReadBackAndADeletedFieldTakesItsEntriesAlong) {
    TwoFields farm(freshFolder("roundtrip"));
    ASSERT_TRUE(farm.book);
    std::string error;
    // A work continued on another day replaces the saved one.
    WorkEntry continued = farm.works[1];
    continued.endTime = "2026-06-02T17:00:00Z";
    continued.groundHa = 4.75;
    EXPECT_EQ(farm.book->saveWork(continued, farm.fields[1].boundary, error), continued.id);
    farm.works[1] = continued;
    farm.ground[1] = farm.fields[1].boundary;
    ASSERT_TRUE(farm.book->renameField(farm.fields[0].id, "Hofacker", error)) << error;
    farm.fields[0].name = "Hofacker";

    // Read by a book opened anew.
    farm.book.reset();
    std::unique_ptr<FarmBook> book = FarmBook::open(farm.path, error);
    ASSERT_TRUE(book) << error;
    FarmContents contents;
    ASSERT_TRUE(book->read(contents, error)) << error;
    ASSERT_EQ(contents.fields.size(), 2u);
    ASSERT_EQ(contents.lines.size(), 2u);
    ASSERT_EQ(contents.works.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const FieldEntry& f = contents.fields[i];
        EXPECT_EQ(f.id, farm.fields[i].id);
        EXPECT_EQ(f.name, farm.fields[i].name);
        EXPECT_DOUBLE_EQ(f.areaHa, farm.fields[i].areaHa);
        expectSameShape(f.boundary, farm.fields[i].boundary);
        expectSameShape(f.headland, farm.fields[i].headland);
        EXPECT_EQ(f.headlandPasses, 2);
        EXPECT_DOUBLE_EQ(f.headlandWidthM, 15.0);
        const LineEntry& l = contents.lines[i];
        EXPECT_EQ(l.id, farm.lines[i].id);
        EXPECT_EQ(l.fieldId, farm.fields[i].id);
        EXPECT_EQ(l.name, farm.lines[i].name);
        EXPECT_EQ(l.pattern, 2);
        EXPECT_DOUBLE_EQ(l.a.lon, farm.lines[i].a.lon);
        EXPECT_DOUBLE_EQ(l.b.lat, farm.lines[i].b.lat);
        EXPECT_DOUBLE_EQ(l.headingDeg, 359.5);
        ASSERT_EQ(l.path.size(), 3u);
        EXPECT_DOUBLE_EQ(l.path[1].lon, farm.lines[i].path[1].lon);
        const WorkEntry& w = contents.works[i];
        EXPECT_EQ(w.id, farm.works[i].id);
        EXPECT_EQ(w.fieldId, farm.fields[i].id);
        EXPECT_EQ(w.startTime, farm.works[i].startTime);
        EXPECT_EQ(w.endTime, farm.works[i].endTime);
        EXPECT_DOUBLE_EQ(w.widthM, 12.0);
        EXPECT_DOUBLE_EQ(w.groundHa, farm.works[i].groundHa);
        EXPECT_DOUBLE_EQ(w.overlapHa, 0.25);
        EXPECT_DOUBLE_EQ(w.distanceKm, 3.1);
        FieldShape ground;
        ASSERT_TRUE(book->readWorkGround(w.id, ground, error)) << error;
        expectSameShape(ground, farm.ground[i]);
    }

    ASSERT_TRUE(book->deleteField(farm.fields[0].id, error)) << error;
    const std::vector<GIntBig> kept = {farm.fields[1].id};
    for (const char* layer : {"headlands", "lines", "works"})
        EXPECT_EQ(fieldIdsIn(farm.path, layer), kept) << layer;
    ASSERT_TRUE(book->read(contents, error)) << error;
    ASSERT_EQ(contents.fields.size(), 1u);
    EXPECT_EQ(contents.fields[0].id, farm.fields[1].id);
    EXPECT_FALSE(book->deleteField(farm.fields[0].id, error));
    EXPECT_EQ(book->saveWork(farm.works[0], {}, error), 0) << "a work of a deleted field";
}

TEST(FarmBook, GdalOgrinfoAndTheValidatorReadTheBook) {
    TwoFields farm(freshFolder("gdal"));
    ASSERT_TRUE(farm.book);
    // An empty headland: a field too narrow for one.
    std::string error;
    ASSERT_TRUE(farm.book->setHeadland(farm.fields[1].id, {}, 3, 12.0, error)) << error;
    farm.book.reset();

    GDALDatasetUniquePtr ds(GDALDataset::Open(farm.path.c_str(), GDAL_OF_VECTOR));
    ASSERT_TRUE(ds);
    EXPECT_STREQ(ds->GetDriver()->GetDescription(), "GPKG");
    const std::map<std::string, std::pair<OGRwkbGeometryType, std::vector<std::string>>> layers = {
        {"fields", {wkbMultiPolygon, {"name:String", "area_ha:Real"}}},
        {"headlands",
         {wkbMultiPolygon, {"field_id:Integer64", "passes:Integer64", "width_m:Real"}}},
        {"lines",
         {wkbLineString,
          {"field_id:Integer64", "name:String", "pattern:Integer64", "a_lon:Real", "a_lat:Real",
           "b_lon:Real", "b_lat:Real", "heading_deg:Real"}}},
        {"works",
         {wkbMultiPolygon,
          {"field_id:Integer64", "start_time:String", "end_time:String", "width_m:Real",
           "ground_ha:Real", "overlap_ha:Real", "distance_km:Real"}}},
    };
    EXPECT_EQ(ds->GetLayerCount(), 4);
    for (const auto& [name, expected] : layers) {
        SCOPED_TRACE(name);
        OGRLayer* layer = ds->GetLayerByName(name.c_str());
        ASSERT_TRUE(layer);
        EXPECT_EQ(layer->GetGeomType(), expected.first);
        const OGRSpatialReference* srs = layer->GetSpatialRef();
        ASSERT_TRUE(srs);
        EXPECT_STREQ(srs->GetAuthorityName(nullptr), "EPSG");
        EXPECT_STREQ(srs->GetAuthorityCode(nullptr), "4326");
        std::vector<std::string> columns;
        OGRFeatureDefn* defn = layer->GetLayerDefn();
        for (int i = 0; i < defn->GetFieldCount(); ++i)
            columns.push_back(std::string(defn->GetFieldDefn(i)->GetNameRef()) + ":" +
                              OGRFieldDefn::GetFieldTypeName(defn->GetFieldDefn(i)->GetType()));
        EXPECT_EQ(columns, expected.second);
        EXPECT_EQ(layer->GetFeatureCount(), 2);
        // Points are longitude first: the fields lie near 11.7 E, 48.2 N.
        for (auto& f : *layer) {
            const OGRGeometry* g = f->GetGeometryRef();
            ASSERT_TRUE(g);
            if (g->IsEmpty()) continue;
            OGREnvelope box;
            g->getEnvelope(&box);
            EXPECT_GT(box.MinX, 11.0);
            EXPECT_LT(box.MaxX, 12.5);
            EXPECT_GT(box.MinY, 48.0);
            EXPECT_LT(box.MaxY, 48.5);
        }
    }
    // A commit must be on the disk when it returns: SQLite's synchronous mode is not OFF.
    OGRLayer* pragma = ds->ExecuteSQL("PRAGMA synchronous", nullptr, nullptr);
    ASSERT_TRUE(pragma);
    OGRFeature* mode = pragma->GetNextFeature();
    ASSERT_TRUE(mode);
    EXPECT_GE(mode->GetFieldAsInteger(0), 1);
    OGRFeature::DestroyFeature(mode);
    ds->ReleaseResultSet(pragma);
    ds.reset();

    int status = 0;
    const std::string info = run("ogrinfo -so -al '" + farm.path + "'", status);
    EXPECT_EQ(status, 0) << info;
    for (const char* name : {"fields", "headlands", "lines", "works"})
        EXPECT_NE(info.find(std::string("Layer name: ") + name), std::string::npos) << info;
    const std::string script = validator();
    ASSERT_FALSE(script.empty()) << "validate_gpkg.py is missing: scripts/install-deps.sh "
                                    "installs python3-gdal";
    const std::string report = run("python3 '" + script + "' '" + farm.path + "'", status);
    EXPECT_EQ(status, 0) << report;
}

TEST(FarmBook, RefusesWhatIsNoFarmBook) {
    const std::string folder = freshFolder("refuse");
    std::string error;
    const std::string text = folder + "/notes.gpkg";
    std::ofstream(text) << "field notes, not a GeoPackage\n";
    EXPECT_FALSE(FarmBook::open(text, error));
    EXPECT_NE(error.find(text), std::string::npos) << error;

    // A GeoPackage of another program, without the farm book's layers.
    const std::string other = folder + "/other.gpkg";
    {
        GDALAllRegister();
        GDALDriver* gpkg = GetGDALDriverManager()->GetDriverByName("GPKG");
        GDALDatasetUniquePtr ds(gpkg->Create(other.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        ASSERT_TRUE(ds);
        ASSERT_TRUE(ds->CreateLayer("fields", nullptr, wkbPolygon, nullptr));
    }
    error.clear();
    EXPECT_FALSE(FarmBook::open(other, error));
    EXPECT_NE(error.find("headlands"), std::string::npos) << error;
}
