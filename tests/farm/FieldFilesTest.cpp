// Fields in and works out through the files of other programs: the fixtures are written by GDAL
// in the test from one exact polygon, and the exports are read back by GDAL.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <cctype>
#include <fstream>

#include "farm/FarmBook.h"
#include "farm/FieldExport.h"
#include "farm/FieldImport.h"
#include "tests/farm/FarmTestSupport.h"

using namespace farm_test;

namespace {

constexpr double kX = 688000.0, kY = 5334000.0;

// A field of 300 x 200 m with a notch and a pond, a vertex every 15 m, in zone 32's metres.
Exact exactField() {
    Exact e{{denseRing({{{kX, kY}},
                        {{kX + 300, kY}},
                        {{kX + 300, kY + 200}},
                        {{kX + 150, kY + 200}},
                        {{kX + 150, kY + 120}},
                        {{kX, kY + 120}}},
                       15.0)}};
    e.rings.push_back(
        {{kX + 200, kY + 50}, {kX + 200, kY + 90}, {kX + 240, kY + 90}, {kX + 240, kY + 50}});
    return e;
}

OGRPolygon ogrPolygon(const Exact& e, const Transform* toDegrees) {
    OGRPolygon polygon;
    for (const auto& r : e.rings) {
        OGRLinearRing ring;
        for (std::size_t i = 0; i <= r.size(); ++i) {
            const auto& p = r[i % r.size()];
            if (toDegrees) {
                const LonLat q = toDegrees->degrees(p[0], p[1]);
                ring.addPoint(q.lon, q.lat);
            } else {
                ring.addPoint(p[0], p[1]);
            }
        }
        polygon.addRing(&ring);
    }
    return polygon;
}

struct Fixture {
    const char* driver;
    const char* file;
    int epsg;  // 0: no coordinate system at all
    const char* nameAttribute = "name";
};

// Writes the field (and a point, which is no field) as the other program would.
void writeFixture(const std::string& path, const Fixture& f, const Exact& field) {
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(f.driver);
    ASSERT_TRUE(driver) << f.driver;
    GDALDatasetUniquePtr ds(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    ASSERT_TRUE(ds) << path;
    OGRSpatialReference srs;
    const bool degrees =
        f.epsg == 4326 || (f.epsg == 0 && std::string(f.file).find("deg") != std::string::npos);
    if (f.epsg) {
        srs.importFromEPSG(f.epsg);
        srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    }
    // A shapefile holds one kind of geometry: the point goes into the others only.
    const bool shapefile = std::string(f.driver) == "ESRI Shapefile";
    OGRLayer* layer = ds->CreateLayer("parcels", f.epsg ? &srs : nullptr,
                                      shapefile ? wkbPolygon : wkbUnknown, nullptr);
    ASSERT_TRUE(layer);
    OGRFieldDefn name(f.nameAttribute, OFTString);
    ASSERT_EQ(layer->CreateField(&name), OGRERR_NONE);
    const Transform zone(kZone32);
    OGRFeature* point = OGRFeature::CreateFeature(layer->GetLayerDefn());
    OGRPoint spot = degrees ? OGRPoint(11.6, 48.1) : OGRPoint(kX, kY);
    point->SetGeometry(&spot);
    point->SetField(f.nameAttribute, "Brunnen");
    if (!shapefile) {
        ASSERT_EQ(layer->CreateFeature(point), OGRERR_NONE);
    }
    OGRFeature::DestroyFeature(point);
    OGRFeature* feature = OGRFeature::CreateFeature(layer->GetLayerDefn());
    OGRPolygon polygon = ogrPolygon(field, degrees ? &zone : nullptr);
    feature->SetGeometry(&polygon);
    feature->SetField(f.nameAttribute, "Lange Breite");
    ASSERT_EQ(layer->CreateFeature(feature), OGRERR_NONE);
    OGRFeature::DestroyFeature(feature);
}

// Every exact vertex has an imported one within a centimetre, and there are as many.
void expectSameField(const FieldShape& got, const Exact& exact) {
    const Transform zone(kZone32);
    const std::vector<Exact> back = zone.exact(got);
    ASSERT_EQ(back.size(), 1u);
    ASSERT_EQ(back[0].rings.size(), exact.rings.size());
    for (std::size_t r = 0; r < exact.rings.size(); ++r) {
        ASSERT_EQ(back[0].rings[r].size(), exact.rings[r].size()) << r;
        for (const auto& p : exact.rings[r]) {
            double nearest = 1e9;
            for (const auto& q : back[0].rings[r])
                nearest = std::min(nearest, std::hypot(p[0] - q[0], p[1] - q[1]));
            EXPECT_LT(nearest, 0.01) << p[0] - kX << " " << p[1] - kY;
        }
    }
}

}  // namespace

TEST(FieldImport, TheSameFieldFromEveryFormatAndCoordinateSystem) {
    const std::string folder = freshFolder("import");
    const Exact field = exactField();
    const Fixture fixtures[] = {
        {"ESRI Shapefile", "utm.shp", kZone32},
        {"ESRI Shapefile", "wgs.shp", 4326},
        {"GeoJSON", "utm.geojson", kZone32},
        {"GeoJSON", "wgs.geojson", 4326},
        {"KML", "wgs.kml", 4326, "Name"},
        {"GPKG", "utm.gpkg", kZone32},
        {"GPKG", "wgs.gpkg", 4326},
        {"ESRI Shapefile", "deg-noprj.shp", 0, "NAME"},
    };
    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(f.file);
        const std::string path = folder + "/" + f.file;
        writeFixture(path, f, field);
        std::vector<ImportedField> fields;
        std::string error;
        ASSERT_TRUE(importFields(path, "", fields, error)) << error;
        ASSERT_EQ(fields.size(), 1u) << "the point is no field";
        EXPECT_EQ(fields[0].field.name, "Lange Breite");
        EXPECT_FALSE(fields[0].madeValid);
        Geos geos;
        const double area = geos.area(geos.polygons({field}));
        EXPECT_NEAR(fields[0].field.areaHa * 1e4, area, 0.5);
        expectSameField(fields[0].field.boundary, field);
    }
}

TEST(FieldImport, NamesRefusalsAndMending) {
    const std::string folder = freshFolder("import-names");
    std::vector<ImportedField> fields;
    std::string error;
    // A shapefile in metres without its .prj: no guess at the projection.
    const std::string noPrj = folder + "/metres.shp";
    writeFixture(noPrj, {"ESRI Shapefile", "metres.shp", 0}, exactField());
    EXPECT_FALSE(importFields(noPrj, "", fields, error));
    EXPECT_NE(error.find(".prj"), std::string::npos) << error;

    const std::string named = folder + "/schlag.geojson";
    writeFixture(named, {"GeoJSON", "schlag.geojson", kZone32, "SCHLAG"}, exactField());
    ASSERT_TRUE(importFields(named, "SCHLAG", fields, error)) << error;
    EXPECT_EQ(fields[0].field.name, "Lange Breite");
    EXPECT_FALSE(importFields(named, "FLUR", fields, error));
    EXPECT_NE(error.find("FLUR"), std::string::npos) << error;
    // No name attribute: the file's name and the polygon's number.
    ASSERT_TRUE(importFields(named, "", fields, error)) << error;
    EXPECT_EQ(fields[0].field.name, "schlag 1");

    // A boundary that crosses itself comes in mended.
    Exact bow;
    bow.rings.push_back({{kX, kY}, {kX + 200, kY + 200}, {kX + 200, kY}, {kX, kY + 200}});
    const std::string crossed = folder + "/crossed.gpkg";
    writeFixture(crossed, {"GPKG", "crossed.gpkg", kZone32}, bow);
    ASSERT_TRUE(importFields(crossed, "", fields, error)) << error;
    EXPECT_TRUE(fields[0].madeValid);
    EXPECT_NEAR(fields[0].field.areaHa, 2.0, 0.01);  // two triangles of 100 x 200 m / 2

    // Points only, and no file at all.
    const std::string points = folder + "/points.geojson";
    std::ofstream(points)
        << R"({"type":"FeatureCollection","features":[{"type":"Feature",)"
        << R"("properties":{},"geometry":{"type":"Point","coordinates":[11,48]}}]})";
    EXPECT_FALSE(importFields(points, "", fields, error));
    EXPECT_NE(error.find("no polygon"), std::string::npos) << error;
    EXPECT_FALSE(importFields(folder + "/missing.shp", "", fields, error));
}

TEST(FieldExport, AFieldsWorksReadBackByGdalInEachFormat) {
    const std::string folder = freshFolder("export");
    std::string error;
    std::unique_ptr<FarmBook> book = FarmBook::open(folder + "/farm.gpkg", error);
    ASSERT_TRUE(book) << error;
    const Transform zone(kZone32);
    FieldEntry field;
    field.name = "Lange Breite";
    field.boundary = zone.shape({exactField()});
    field.id = book->addField(field, error);
    ASSERT_NE(field.id, 0) << error;
    FieldEntry other = field;
    other.name = "Anger";
    ASSERT_NE(book->addField(other, error), 0) << error;
    Exact halves[2];
    for (int i = 0; i < 2; ++i) {
        halves[i].rings.push_back({{kX + 150.0 * i, kY},
                                   {kX + 150.0 * i + 150, kY},
                                   {kX + 150.0 * i + 150, kY + 120},
                                   {kX + 150.0 * i, kY + 120}});
        WorkEntry work;
        work.fieldId = field.id;
        work.startTime = "2026-0" + std::to_string(5 + i) + "-01T08:00:00Z";
        work.groundHa = 1.8;
        work.distanceKm = 1.5 + i;
        ASSERT_NE(book->saveWork(work, zone.shape({halves[i]}), error), 0) << error;
    }
    for (const char* name : {"works.shp", "works.GeoJSON", "works.json", "works.kml"}) {
        SCOPED_TRACE(name);
        const std::string path = folder + "/" + name;
        ASSERT_TRUE(exportFieldWorks(*book, "Lange Breite", path, error)) << error;
        GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
        ASSERT_TRUE(ds);
        OGRLayer* layer = ds->GetLayer(0);
        ASSERT_EQ(layer->GetFeatureCount(), 2);
        const OGRSpatialReference* srs = layer->GetSpatialRef();
        ASSERT_TRUE(srs);
        // WGS 84 degrees, however each format names it.
        EXPECT_TRUE(srs->IsGeographic());
        EXPECT_NEAR(srs->GetSemiMajor(), 6378137.0, 1e-3);
        EXPECT_NEAR(srs->GetInvFlattening(), 298.257223563, 1e-6);
        int i = 0;
        Geos geos;
        for (auto& f : *layer) {
            // GeoJSON's reader takes the time for a date and writes it its own way.
            std::string start;
            for (const char* c = f->GetFieldAsString("start"); *c; ++c)
                if (std::isdigit(static_cast<unsigned char>(*c))) start += *c;
            EXPECT_EQ(start.substr(0, 14),
                      "2026" + std::string("0") + std::to_string(5 + i) + "01080000");
            EXPECT_DOUBLE_EQ(f->GetFieldAsDouble("dist_km"), 1.5 + i);
            const OGRGeometry* g = f->GetGeometryRef();
            ASSERT_TRUE(g);
            EXPECT_EQ(wkbFlatten(g->getGeometryType()),
                      std::string(name) == "works.shp" ? wkbPolygon : wkbMultiPolygon);
            FieldShape read;
            const OGRPolygon* p = wkbFlatten(g->getGeometryType()) == wkbPolygon
                                      ? g->toPolygon()
                                      : g->toMultiPolygon()->getGeometryRef(0);
            FieldPolygon polygon;
            const OGRLinearRing* ring = p->getExteriorRing();
            for (int k = 0; k + 1 < ring->getNumPoints(); ++k)
                polygon.outer.push_back({ring->getX(k), ring->getY(k)});
            read.push_back(polygon);
            EXPECT_LT(geos.symmetricDifferenceArea(geos.polygons(zone.exact(read)),
                                                   geos.polygons({halves[i]})),
                      0.01);
            ++i;
        }
    }
    EXPECT_FALSE(exportFieldWorks(*book, "Lange Breite", folder + "/works.dxf", error));
    EXPECT_NE(error.find(".kml"), std::string::npos) << error;
    EXPECT_FALSE(exportFieldWorks(*book, "Hinterholz", folder + "/none.geojson", error));
    EXPECT_NE(error.find("Hinterholz"), std::string::npos) << error;
    // Nothing left half written or beside the files asked for.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    const std::vector<std::string> expected = {"farm.gpkg", "works.GeoJSON", "works.cpg",
                                               "works.dbf", "works.json",    "works.kml",
                                               "works.prj", "works.shp",     "works.shx"};
    EXPECT_EQ(left, expected);
}
