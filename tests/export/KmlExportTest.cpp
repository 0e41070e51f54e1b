// Converting a saved work to KML: the document's pieces, which shapes become placemarks, and
// GDAL's KML reader agreeing with the shapefile.
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <clocale>
#include <fstream>
#include <sstream>

#include "export/KmlExport.h"
#include "export/ShapefileExport.h"
#include "export/ShapefileReview.h"
#include "tests/export/WorkFileSupport.h"

using namespace work_test;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int countOf(const std::string& text, const std::string& piece) {
    int n = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

// The coordinate lines of each placemark, by name.
std::vector<std::pair<std::string, int>> placemarks(const std::string& kml) {
    std::vector<std::pair<std::string, int>> result;
    for (auto at = kml.find("<Placemark>"); at != std::string::npos;
         at = kml.find("<Placemark>", at + 1)) {
        auto nameStart = kml.find("<name>", at) + 6;
        std::string name = kml.substr(nameStart, kml.find("</name>", nameStart) - nameStart);
        auto from = kml.find("<coordinates>\n", at) + 14;
        auto to = kml.find("</coordinates>", from);
        result.emplace_back(name, countOf(kml.substr(from, to - from), "\n"));
    }
    return result;
}

class KmlExportTest : public ::testing::Test {
  protected:
    void SetUp() override { appState.settings.trackColor = 0x0084EFFB; }
    ScratchFolder folder;
};

TEST_F(KmlExportTest, DocumentOfTwoTracks) {
    std::string base = folder / "base";
    writeShapefile(base, SHPT_POLYGON, {northwardRing(3), northwardRing(2, 16.6)});
    std::string path = base + ".shp";
    ASSERT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);
    EXPECT_EQ(path, base);
    std::string kml = readFile(base + ".kml");

    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
        "<Document>\n<name>Sulcovane</name>\n<Folder>\n<name>" +
        base + "</name>\n<Folder>\n<name>Objects</name>\n<open>1</open>\n<Placemark>\n";
    EXPECT_EQ(kml.substr(0, head.size()), head);
    const std::string tail = "</Placemark>\n</Folder>\n</Folder></Document></kml>\n";
    ASSERT_GE(kml.size(), tail.size());
    EXPECT_EQ(kml.substr(kml.size() - tail.size()), tail);

    // Each ring is closed on its first vertex again: 6 and 4 vertices give 7 and 5 lines.
    EXPECT_EQ(placemarks(kml),
              (std::vector<std::pair<std::string, int>>{{"Track 1", 7}, {"Track 2", 5}}));
    EXPECT_EQ(countOf(kml, "<color>b284effb</color>"), 2);
    EXPECT_NE(kml.find("<coordinates>\n16.500000,48.250000,0.00\n"), std::string::npos);
    EXPECT_NE(kml.find("16.500000,48.250000,0.00\n</coordinates>"), std::string::npos);
}

TEST_F(KmlExportTest, UnusableShapesAreSkippedAndTheNumbersKept) {
    Ring odd = northwardRing(2);
    odd.x.pop_back();
    odd.y.pop_back();
    std::string base = folder / "odd";
    writeShapefile(base, SHPT_POLYGON, {northwardRing(2), odd, Ring{}, northwardRing(4)});
    std::string path = base + ".shp";
    ASSERT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);
    EXPECT_EQ(placemarks(readFile(base + ".kml")),
              (std::vector<std::pair<std::string, int>>{{"Track 1", 5}, {"Track 4", 9}}));
}

TEST_F(KmlExportTest, FilesThatAreNotWorks) {
    std::string base;
    std::string path;

    // Another table layout: a document without placemarks, still complete.
    base = folder / "fields";
    writeShapefile(base, SHPT_POLYGON, {northwardRing(2)}, {"XREF", "NAME", "YREF"});
    path = base + ".shp";
    EXPECT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);
    std::string kml = readFile(base + ".kml");
    EXPECT_EQ(countOf(kml, "<Placemark>"), 0);
    EXPECT_NE(kml.find("</kml>\n"), std::string::npos);

    // No shapefile at all beside a table: the same.
    base = folder / "tableonly";
    writeShapefile(base, SHPT_POLYGON, {northwardRing(2)});
    std::filesystem::remove(base + ".shp");
    path = base + ".shp";
    EXPECT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);
    EXPECT_EQ(countOf(readFile(base + ".kml"), "<Placemark>"), 0);

    // Points are no work: result 0.
    base = folder / "points";
    writeShapefile(base, SHPT_POINT, {Ring{{16.5}, {48.25}}});
    path = base + ".shp";
    EXPECT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 0);

    // Too short to hold an extension, and a folder that does not exist.
    for (std::string bad :
         {std::string("a"), std::string(".sh"), std::string(""), folder / "nowhere/x.shp"}) {
        EXPECT_EQ(convertShapefileToKml(bad, appState.settings.trackColor), 0) << bad;
    }
}

TEST_F(KmlExportTest, ExistingDocumentIsReplaced) {
    std::string base = folder / "again";
    writeShapefile(base, SHPT_POLYGON, {northwardRing(2)});
    std::ofstream(base + ".kml") << std::string(100000, 'x');
    std::string path = base + ".shp";
    ASSERT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);
    std::string kml = readFile(base + ".kml");
    EXPECT_EQ(kml.find("xxxx"), std::string::npos);
    EXPECT_EQ(kml.substr(0, 5), "<?xml");
}

// The folder name is character data: a folder called "Smith & Sons" or a name with bytes that
// are not UTF-8 must still give a document every viewer can read.
TEST_F(KmlExportTest, FolderNameIsEscaped) {
    std::string dir = folder / "Smith & Sons <Feld> \"Ä\"";
    std::filesystem::create_directory(dir);
    std::string base = dir + "/bad\xFFname";
    writeShapefile(base, SHPT_POLYGON, {northwardRing(2)});
    std::string path = base + ".shp";
    ASSERT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);
    std::string kml = readFile(base + ".kml");
    EXPECT_NE(kml.find("Smith &amp; Sons &lt;Feld&gt; &quot;\xC3\x84&quot;/bad\xEF\xBF\xBDname"),
              std::string::npos);

    GDALAllRegister();
    GDALDataset* doc =
        GDALDataset::Open((base + ".kml").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY);
    ASSERT_NE(doc, nullptr);
    GDALClose(doc);
}

// GDAL's KML driver reads one polygon per usable shape, at the shapefile's coordinates to six
// decimals.
TEST_F(KmlExportTest, GdalReadsTheDocumentBack) {
    std::string base = folder / "gdal";
    Ring odd = northwardRing(3);
    odd.x.pop_back();
    odd.y.pop_back();
    std::vector<Ring> rings = {northwardRing(5), odd, northwardRing(3, 16.61, 48.3)};
    rings[0].x[2] = 16.1234565;  // exactly between two sixth decimals, as seen in binary
    writeShapefile(base, SHPT_POLYGON, rings);
    std::string path = base + ".shp";
    ASSERT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);

    GDALAllRegister();
    GDALDataset* doc =
        GDALDataset::Open((base + ".kml").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY);
    ASSERT_NE(doc, nullptr);
    std::vector<OGRPolygon*> polygons;
    std::vector<OGRFeature*> features;
    for (OGRLayer* layer : doc->GetLayers())
        for (auto& feature : *layer) {
            OGRGeometry* geometry = feature->GetGeometryRef();
            ASSERT_NE(geometry, nullptr);
            ASSERT_EQ(wkbFlatten(geometry->getGeometryType()), wkbPolygon);
            OGRFeature* kept = feature->Clone();
            features.push_back(kept);
            polygons.push_back(kept->GetGeometryRef()->toPolygon());
        }
    ASSERT_EQ(polygons.size(), 2u);
    const Ring* usable[] = {&rings[0], &rings[2]};
    for (std::size_t p = 0; p < 2; ++p) {
        const OGRLinearRing* ring = polygons[p]->getExteriorRing();
        const Ring& source = *usable[p];
        ASSERT_EQ(ring->getNumPoints(), int(source.x.size()) + 1);
        for (int v = 0; v <= int(source.x.size()); ++v) {
            std::size_t s = std::size_t(v) % source.x.size();
            char expected[64], actual[64];
            std::snprintf(expected, sizeof expected, "%.6f %.6f", source.x[s], source.y[s]);
            std::snprintf(actual, sizeof actual, "%.6f %.6f", ring->getX(v), ring->getY(v));
            EXPECT_STREQ(actual, expected) << "placemark " << p << " vertex " << v;
        }
    }
    for (OGRFeature* f : features) OGRFeature::DestroyFeature(f);
    GDALClose(doc);
}

// Under a German locale the C library writes and reads decimal commas; the work files and the
// document must not change with it.
TEST_F(KmlExportTest, NumbersDoNotFollowTheLocale) {
    std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale";
    beginWork();
    driveNorth(3);
    std::string base = folder / "locale";
    int saved = exportShapefile(base + ".shp", appState.work, appState.projection);
    std::string path = base + ".shp";
    int converted = convertShapefileToKml(path, appState.settings.trackColor);
    path = base + ".shp";
    beginWork(0.0, 0.0);
    int loaded = readShapefileForReview(path, appState.projection, appState.work, appState.review);
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_EQ(saved, 1);
    ASSERT_EQ(converted, 1);
    EXPECT_NE(readFile(base + ".kml").find("\n16.4999"), std::string::npos);
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(appState.work.plane.originLonLat[0], kOriginLon);
    EXPECT_EQ(appState.work.plane.originLonLat[1], kOriginLat);
    EXPECT_EQ(appState.review.positions.size(), 3u);
}

}  // namespace
