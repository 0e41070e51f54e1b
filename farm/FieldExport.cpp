// A field's works for other programs, written through GDAL into a folder of its own beside the
// target and renamed into place once complete: a failed export leaves no file half written
// under the name asked for (a shapefile is several files, renamed together).
#include "farm/FieldExport.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "farm/OgrShape.h"
#include "farm/QuietGdal.h"

namespace {

namespace fs = std::filesystem;

const char* driverFor(std::string extension) {
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (extension == ".shp") return "ESRI Shapefile";
    if (extension == ".geojson" || extension == ".json") return "GeoJSON";
    if (extension == ".kml") return "KML";
    return nullptr;
}

// Short names: a shapefile's attributes have at most ten letters.
bool writeWorks(FarmBook& book, const FieldEntry& field, const std::vector<WorkEntry>& works,
                GDALDataset& ds, std::string& error) {
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    // A field's name may be "Große Wiese": the shapefile says its text is UTF-8 (a .cpg).
    const bool shapefile = EQUAL(ds.GetDriver()->GetDescription(), "ESRI Shapefile");
    const char* shapefileOptions[] = {"ENCODING=UTF-8", nullptr};
    OGRLayer* layer = ds.CreateLayer("works", &wgs84, wkbMultiPolygon,
                                     shapefile ? const_cast<char**>(shapefileOptions) : nullptr);
    if (!layer) {
        error = "cannot make the layer of works";
        return false;
    }
    const std::pair<const char*, OGRFieldType> columns[] = {
        {"field", OFTString},   {"start", OFTString},    {"end", OFTString},  {"width_m", OFTReal},
        {"ground_ha", OFTReal}, {"overlap_ha", OFTReal}, {"dist_km", OFTReal}};
    for (const auto& [name, type] : columns) {
        OGRFieldDefn defn(name, type);
        if (layer->CreateField(&defn) != OGRERR_NONE) {
            error = std::string("cannot make the attribute ") + name;
            return false;
        }
    }
    for (const WorkEntry& work : works) {
        FieldShape ground;
        if (!book.readWorkGround(work.id, ground, error)) return false;
        OGRFeature* f = OGRFeature::CreateFeature(layer->GetLayerDefn());
        f->SetField("field", field.name.c_str());
        f->SetField("start", work.startTime.c_str());
        f->SetField("end", work.endTime.c_str());
        f->SetField("width_m", work.widthM);
        f->SetField("ground_ha", work.groundHa);
        f->SetField("overlap_ha", work.overlapHa);
        f->SetField("dist_km", work.distanceKm);
        OGRMultiPolygon g = multiPolygonOf(ground);
        f->SetGeometry(&g);
        const OGRErr written = layer->CreateFeature(f);
        OGRFeature::DestroyFeature(f);
        if (written != OGRERR_NONE) {
            error = "cannot write work " + std::to_string(work.id);
            return false;
        }
    }
    return true;
}

}  // namespace

bool exportFieldWorks(FarmBook& book, const std::string& fieldName, const std::string& path,
                      std::string& error) {
    const fs::path target(path);
    const char* driverName = driverFor(target.extension().string());
    if (!driverName) {
        error = path + ": the file's extension names no format (.shp, .geojson, .json or .kml)";
        return false;
    }
    FarmContents contents;
    if (!book.read(contents, error)) return false;
    const FieldEntry* field = nullptr;
    for (const FieldEntry& f : contents.fields)
        if (f.name == fieldName) field = &f;
    if (!field) {
        error = "no field named '" + fieldName + "' in " + book.path();
        return false;
    }
    std::vector<WorkEntry> works;
    for (const WorkEntry& w : contents.works)
        if (w.fieldId == field->id) works.push_back(w);

    QuietErrors quiet;
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
    if (!driver) {
        error = std::string("GDAL has no ") + driverName + " driver";
        return false;
    }
    const fs::path folder = fs::absolute(target).parent_path();
    const fs::path part =
        folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) + ".part");
    std::error_code ignored;
    fs::remove_all(part, ignored);
    if (!fs::create_directory(part, ignored)) {
        error = "cannot write in " + folder.string();
        return false;
    }
    const fs::path written = part / target.filename();
    bool ok = false;
    {
        GDALDatasetUniquePtr ds(
            driver->Create(written.string().c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        if (!ds) {
            const char* why = CPLGetLastErrorMsg();
            error = "cannot create " + path + (*why ? std::string(": ") + why : "");
        } else {
            ok = writeWorks(book, *field, works, *ds, error);
            // Closing writes what the driver still holds; only then is the file complete.
            GDALClose(ds.release());
            if (ok && CPLGetLastErrorType() >= CE_Failure) {
                error = "cannot finish " + path + ": " + CPLGetLastErrorMsg();
                ok = false;
            }
        }
    }
    // Every file the driver made (a shapefile's .shp, .shx, .dbf, .prj, .cpg) goes into place.
    for (const auto& entry : fs::directory_iterator(part, ignored)) {
        if (!ok) break;
        std::error_code moved;
        fs::rename(entry.path(), folder / entry.path().filename(), moved);
        if (moved) {
            error = "cannot rename into " + folder.string() + ": " + moved.message();
            ok = false;
        }
    }
    fs::remove_all(part, ignored);
    return ok;
}
