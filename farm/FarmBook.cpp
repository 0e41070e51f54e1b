// The farm book through GDAL's GPKG driver. A new book is made whole under a temporary name and
// then renamed, so that a book at its path always has its four layers; every later write is one
// SQLite transaction, which the journal undoes at the next opening when the program was cut off
// during it. GDAL leaves SQLite's synchronous mode at its default (FULL): a commit is on the disk
// when it returns.
#include "farm/FarmBook.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

#include "farm/OgrShape.h"
#include "farm/QuietGdal.h"

namespace {

constexpr const char* kFields = "fields";
constexpr const char* kHeadlands = "headlands";
constexpr const char* kLines = "lines";
constexpr const char* kWorks = "works";

struct FeatureFree {
    void operator()(OGRFeature* f) const { OGRFeature::DestroyFeature(f); }
};
using FeaturePtr = std::unique_ptr<OGRFeature, FeatureFree>;

bool addFieldDefn(OGRLayer* layer, const char* name, OGRFieldType type) {
    OGRFieldDefn defn(name, type);
    return layer->CreateField(&defn) == OGRERR_NONE;
}

bool createLayers(GDALDataset* ds, std::string& error) {
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    struct Column {
        const char* name;
        OGRFieldType type;
    };
    struct LayerShape {
        const char* name;
        OGRwkbGeometryType geometry;
        std::vector<Column> columns;
    };
    const LayerShape layers[] = {
        {kFields, wkbMultiPolygon, {{"name", OFTString}, {"area_ha", OFTReal}}},
        {kHeadlands,
         wkbMultiPolygon,
         {{"field_id", OFTInteger64}, {"passes", OFTInteger64}, {"width_m", OFTReal}}},
        {kLines,
         wkbLineString,
         {{"field_id", OFTInteger64},
          {"name", OFTString},
          {"pattern", OFTInteger64},
          {"a_lon", OFTReal},
          {"a_lat", OFTReal},
          {"b_lon", OFTReal},
          {"b_lat", OFTReal},
          {"heading_deg", OFTReal}}},
        {kWorks,
         wkbMultiPolygon,
         {{"field_id", OFTInteger64},
          {"start_time", OFTString},
          {"end_time", OFTString},
          {"width_m", OFTReal},
          {"ground_ha", OFTReal},
          {"overlap_ha", OFTReal},
          {"distance_km", OFTReal}}},
    };
    for (const LayerShape& shape : layers) {
        OGRLayer* layer = ds->CreateLayer(shape.name, &wgs84, shape.geometry, nullptr);
        if (!layer) {
            error = gdalReason(std::string("cannot create the layer ") + shape.name);
            return false;
        }
        for (const Column& column : shape.columns)
            if (!addFieldDefn(layer, column.name, column.type)) {
                error = gdalReason(std::string("cannot create ") + shape.name + "." + column.name);
                return false;
            }
    }
    return true;
}

// A new book, whole under a temporary name first: a book half made is never found at path.
bool createBook(const std::string& path, std::string& error) {
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
    if (!driver) {
        error = "GDAL has no GeoPackage driver";
        return false;
    }
    const std::string temporary = path + ".new";
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    GDALDataset* ds = driver->Create(temporary.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (!ds) {
        error = gdalReason("cannot create " + path);
        return false;
    }
    bool made = createLayers(ds, error);
    GDALClose(ds);
    std::error_code renamed;
    if (made) std::filesystem::rename(temporary, path, renamed);
    if (!made || renamed) {
        if (made) error = "cannot rename " + temporary + ": " + renamed.message();
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

// One write: begun, and committed only when all of it went well; otherwise undone.
class Transaction {
  public:
    explicit Transaction(GDALDataset* ds) : ds_(ds) {
        begun_ = ds->StartTransaction() == OGRERR_NONE;
    }
    ~Transaction() {
        if (begun_ && !done_) ds_->RollbackTransaction();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool begun() const { return begun_; }
    bool commit() {
        done_ = true;
        return ds_->CommitTransaction() == OGRERR_NONE;
    }

  private:
    GDALDataset* ds_;
    bool begun_ = false;
    bool done_ = false;
};

// The ids of the features of layer whose field_id is fieldId.
std::vector<GIntBig> featuresOfField(OGRLayer* layer, std::int64_t fieldId) {
    std::vector<GIntBig> ids;
    const std::string filter = "field_id = " + std::to_string(fieldId);
    if (layer->SetAttributeFilter(filter.c_str()) != OGRERR_NONE) return ids;
    layer->ResetReading();
    while (FeaturePtr f{layer->GetNextFeature()}) ids.push_back(f->GetFID());
    layer->SetAttributeFilter(nullptr);
    return ids;
}

bool deleteAll(OGRLayer* layer, const std::vector<GIntBig>& ids) {
    for (GIntBig id : ids)
        if (layer->DeleteFeature(id) != OGRERR_NONE) return false;
    return true;
}

bool fieldExists(OGRLayer* fields, std::int64_t fieldId) {
    return FeaturePtr(fields->GetFeature(fieldId)) != nullptr;
}

void setHeadlandFeature(OGRFeature& f, std::int64_t fieldId, const FieldShape& headland, int passes,
                        double widthM) {
    f.SetField("field_id", GIntBig(fieldId));
    f.SetField("passes", GIntBig(passes));
    f.SetField("width_m", widthM);
    OGRMultiPolygon g = multiPolygonOf(headland);
    f.SetGeometry(&g);
}

}  // namespace

std::unique_ptr<FarmBook> FarmBook::open(const std::string& path, std::string& error) {
    QuietErrors quiet;
    GDALAllRegister();
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored) && !createBook(path, error)) return nullptr;
    const char* const drivers[] = {"GPKG", nullptr};
    auto* ds = static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, drivers, nullptr, nullptr));
    if (!ds) {
        error = gdalReason(path + " is not a GeoPackage that can be written");
        return nullptr;
    }
    for (const char* name : {kFields, kHeadlands, kLines, kWorks})
        if (!ds->GetLayerByName(name)) {
            error = path + " is no farm book: it has no layer '" + name + "'";
            GDALClose(ds);
            return nullptr;
        }
    std::unique_ptr<FarmBook> book(new FarmBook());
    book->path_ = path;
    book->dataset_ = ds;
    return book;
}

FarmBook::~FarmBook() {
    if (dataset_) GDALClose(dataset_);
}

bool FarmBook::read(FarmContents& out, std::string& error) {
    QuietErrors quiet;
    out = FarmContents{};
    OGRLayer* fields = dataset_->GetLayerByName(kFields);
    OGRLayer* headlands = dataset_->GetLayerByName(kHeadlands);
    OGRLayer* lines = dataset_->GetLayerByName(kLines);
    OGRLayer* works = dataset_->GetLayerByName(kWorks);

    std::map<std::int64_t, std::size_t> byId;
    fields->ResetReading();
    while (FeaturePtr f{fields->GetNextFeature()}) {
        FieldEntry field;
        field.id = f->GetFID();
        field.name = f->GetFieldAsString("name");
        field.areaHa = f->GetFieldAsDouble("area_ha");
        field.boundary = shapeOf(f->GetGeometryRef());
        byId[field.id] = out.fields.size();
        out.fields.push_back(std::move(field));
    }
    headlands->ResetReading();
    while (FeaturePtr f{headlands->GetNextFeature()}) {
        auto at = byId.find(f->GetFieldAsInteger64("field_id"));
        if (at == byId.end()) continue;
        FieldEntry& field = out.fields[at->second];
        field.headland = shapeOf(f->GetGeometryRef());
        field.headlandPasses = int(f->GetFieldAsInteger64("passes"));
        field.headlandWidthM = f->GetFieldAsDouble("width_m");
    }
    lines->ResetReading();
    while (FeaturePtr f{lines->GetNextFeature()}) {
        LineEntry line;
        line.id = f->GetFID();
        line.fieldId = f->GetFieldAsInteger64("field_id");
        line.name = f->GetFieldAsString("name");
        line.pattern = std::uint8_t(f->GetFieldAsInteger64("pattern"));
        line.a = {f->GetFieldAsDouble("a_lon"), f->GetFieldAsDouble("a_lat")};
        line.b = {f->GetFieldAsDouble("b_lon"), f->GetFieldAsDouble("b_lat")};
        line.headingDeg = f->GetFieldAsDouble("heading_deg");
        const OGRGeometry* g = f->GetGeometryRef();
        if (g && wkbFlatten(g->getGeometryType()) == wkbLineString)
            line.path = pointsOf(*g->toLineString(), false);
        out.lines.push_back(std::move(line));
    }
    // A season's works hold far more ground than the fields: the list needs their figures only.
    const char* noGeometry[] = {"OGR_GEOMETRY", nullptr};
    works->SetIgnoredFields(noGeometry);
    works->ResetReading();
    while (FeaturePtr f{works->GetNextFeature()}) {
        WorkEntry work;
        work.id = f->GetFID();
        work.fieldId = f->GetFieldAsInteger64("field_id");
        work.startTime = f->GetFieldAsString("start_time");
        work.endTime = f->GetFieldAsString("end_time");
        work.widthM = f->GetFieldAsDouble("width_m");
        work.groundHa = f->GetFieldAsDouble("ground_ha");
        work.overlapHa = f->GetFieldAsDouble("overlap_ha");
        work.distanceKm = f->GetFieldAsDouble("distance_km");
        out.works.push_back(std::move(work));
    }
    works->SetIgnoredFields(nullptr);
    if (CPLGetLastErrorType() >= CE_Failure) {
        error = gdalReason("cannot read " + path_);
        return false;
    }
    return true;
}

bool FarmBook::readWorkGround(std::int64_t workId, FieldShape& ground, std::string& error) {
    QuietErrors quiet;
    ground.clear();
    FeaturePtr f{dataset_->GetLayerByName(kWorks)->GetFeature(workId)};
    if (!f) {
        error = "no work " + std::to_string(workId) + " in the farm book";
        return false;
    }
    ground = shapeOf(f->GetGeometryRef());
    return true;
}

std::int64_t FarmBook::addField(const FieldEntry& field, std::string& error) {
    QuietErrors quiet;
    Transaction transaction(dataset_);
    if (!transaction.begun()) {
        error = gdalReason("cannot begin a write");
        return 0;
    }
    OGRLayer* fields = dataset_->GetLayerByName(kFields);
    FeaturePtr f{OGRFeature::CreateFeature(fields->GetLayerDefn())};
    f->SetField("name", field.name.c_str());
    f->SetField("area_ha", field.areaHa);
    OGRMultiPolygon boundary = multiPolygonOf(field.boundary);
    f->SetGeometry(&boundary);
    if (fields->CreateFeature(f.get()) != OGRERR_NONE) {
        error = gdalReason("cannot add the field " + field.name);
        return 0;
    }
    const std::int64_t id = f->GetFID();
    if (field.headlandPasses > 0 || !field.headland.empty()) {
        OGRLayer* headlands = dataset_->GetLayerByName(kHeadlands);
        FeaturePtr h{OGRFeature::CreateFeature(headlands->GetLayerDefn())};
        setHeadlandFeature(*h, id, field.headland, field.headlandPasses, field.headlandWidthM);
        if (headlands->CreateFeature(h.get()) != OGRERR_NONE) {
            error = gdalReason("cannot add the headland of " + field.name);
            return 0;
        }
    }
    if (!transaction.commit()) {
        error = gdalReason("cannot commit the field " + field.name);
        return 0;
    }
    return id;
}

bool FarmBook::renameField(std::int64_t fieldId, const std::string& name, std::string& error) {
    QuietErrors quiet;
    Transaction transaction(dataset_);
    OGRLayer* fields = dataset_->GetLayerByName(kFields);
    FeaturePtr f{transaction.begun() ? fields->GetFeature(fieldId) : nullptr};
    if (!f) {
        error = "no field " + std::to_string(fieldId) + " in the farm book";
        return false;
    }
    f->SetField("name", name.c_str());
    if (fields->SetFeature(f.get()) != OGRERR_NONE || !transaction.commit()) {
        error = gdalReason("cannot rename the field");
        return false;
    }
    return true;
}

bool FarmBook::deleteField(std::int64_t fieldId, std::string& error) {
    QuietErrors quiet;
    Transaction transaction(dataset_);
    OGRLayer* fields = dataset_->GetLayerByName(kFields);
    if (!transaction.begun() || !fieldExists(fields, fieldId)) {
        error = "no field " + std::to_string(fieldId) + " in the farm book";
        return false;
    }
    for (const char* name : {kHeadlands, kLines, kWorks}) {
        OGRLayer* layer = dataset_->GetLayerByName(name);
        if (!deleteAll(layer, featuresOfField(layer, fieldId))) {
            error = gdalReason(std::string("cannot delete the field's ") + name);
            return false;
        }
    }
    if (fields->DeleteFeature(fieldId) != OGRERR_NONE || !transaction.commit()) {
        error = gdalReason("cannot delete the field");
        return false;
    }
    return true;
}

bool FarmBook::setHeadland(std::int64_t fieldId, const FieldShape& headland, int passes,
                           double widthM, std::string& error) {
    QuietErrors quiet;
    Transaction transaction(dataset_);
    if (!transaction.begun() || !fieldExists(dataset_->GetLayerByName(kFields), fieldId)) {
        error = "no field " + std::to_string(fieldId) + " in the farm book";
        return false;
    }
    OGRLayer* headlands = dataset_->GetLayerByName(kHeadlands);
    FeaturePtr h{OGRFeature::CreateFeature(headlands->GetLayerDefn())};
    setHeadlandFeature(*h, fieldId, headland, passes, widthM);
    if (!deleteAll(headlands, featuresOfField(headlands, fieldId)) ||
        headlands->CreateFeature(h.get()) != OGRERR_NONE || !transaction.commit()) {
        error = gdalReason("cannot write the headland");
        return false;
    }
    return true;
}

std::int64_t FarmBook::addLine(const LineEntry& line, std::string& error) {
    QuietErrors quiet;
    Transaction transaction(dataset_);
    if (!transaction.begun() || !fieldExists(dataset_->GetLayerByName(kFields), line.fieldId)) {
        error = "no field " + std::to_string(line.fieldId) + " in the farm book";
        return 0;
    }
    OGRLayer* lines = dataset_->GetLayerByName(kLines);
    FeaturePtr f{OGRFeature::CreateFeature(lines->GetLayerDefn())};
    f->SetField("field_id", GIntBig(line.fieldId));
    f->SetField("name", line.name.c_str());
    f->SetField("pattern", GIntBig(line.pattern));
    f->SetField("a_lon", line.a.lon);
    f->SetField("a_lat", line.a.lat);
    f->SetField("b_lon", line.b.lon);
    f->SetField("b_lat", line.b.lat);
    f->SetField("heading_deg", line.headingDeg);
    OGRLineString path;
    for (const LonLat& p : line.path) path.addPoint(p.lon, p.lat);
    f->SetGeometry(&path);
    if (lines->CreateFeature(f.get()) != OGRERR_NONE || !transaction.commit()) {
        error = gdalReason("cannot add the line " + line.name);
        return 0;
    }
    return f->GetFID();
}

std::int64_t FarmBook::saveWork(const WorkEntry& work, const FieldShape& ground,
                                std::string& error) {
    QuietErrors quiet;
    Transaction transaction(dataset_);
    if (!transaction.begun() || !fieldExists(dataset_->GetLayerByName(kFields), work.fieldId)) {
        error = "no field " + std::to_string(work.fieldId) + " in the farm book";
        return 0;
    }
    OGRLayer* works = dataset_->GetLayerByName(kWorks);
    FeaturePtr f{work.id != 0 ? works->GetFeature(work.id)
                              : OGRFeature::CreateFeature(works->GetLayerDefn())};
    if (!f) {
        error = "no work " + std::to_string(work.id) + " in the farm book to continue";
        return 0;
    }
    f->SetField("field_id", GIntBig(work.fieldId));
    f->SetField("start_time", work.startTime.c_str());
    f->SetField("end_time", work.endTime.c_str());
    f->SetField("width_m", work.widthM);
    f->SetField("ground_ha", work.groundHa);
    f->SetField("overlap_ha", work.overlapHa);
    f->SetField("distance_km", work.distanceKm);
    OGRMultiPolygon g = multiPolygonOf(ground);
    f->SetGeometry(&g);
    const OGRErr written =
        work.id != 0 ? works->SetFeature(f.get()) : works->CreateFeature(f.get());
    if (written != OGRERR_NONE || !transaction.commit()) {
        error = gdalReason("cannot save the work");
        return 0;
    }
    return f->GetFID();
}
