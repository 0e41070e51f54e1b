#include "export/ShapefileExport.h"

#include <shapefil.h>

#include <vector>

#include "app/AppState.h"
#include "export/DbfNumber.h"
#include "export/WorkFields.h"
#include "export/WorkSegments.h"
#include "guidance/Projection.h"
#include "platform/Platform.h"

namespace {

// Everything the export opened, released on every way out.
struct OpenWorkFiles {
    SHPHandle shp = nullptr;
    DBFHandle dbf = nullptr;
    bool inverse = false;
    ~OpenWorkFiles() {
        if (inverse) closeInverseProjection();
        if (shp) SHPClose(shp);
        if (dbf) DBFClose(dbf);
    }
};

// The ring of one segment: left points forward, right points backward, not closed.
void buildRing(RecordRange range, std::vector<double>& x, std::vector<double>& y) {
    std::size_t m = range.end - range.begin;
    x.resize(2 * m);
    y.resize(2 * m);
    for (std::size_t j = 0; j < m; ++j) {
        const TrackEdge& r = appState.trackEdges[range.begin + j];
        unprojectPoint({r.leftX, r.leftY}, x[j], y[j]);
        unprojectPoint({r.rightX, r.rightY}, x[2 * m - 1 - j], y[2 * m - 1 - j]);
    }
}

// shapelib only reads the text it is given to copy, whatever its signature says.
bool writeAttributes(DBFHandle dbf, int record, const std::string& name, const std::string& lon,
                     const std::string& lat) {
    return DBFWriteStringAttribute(dbf, record, kFieldName, name.c_str()) &&
           DBFWriteAttributeDirectly(dbf, record, kFieldXref, const_cast<char*>(lon.c_str())) &&
           DBFWriteAttributeDirectly(dbf, record, kFieldYref, const_cast<char*>(lat.c_str()));
}

}  // namespace

int exportShapefile(const std::string& path) {
    OpenWorkFiles files;
    files.shp = SHPCreate(path.c_str(), SHPT_POLYGON);
    if (!files.shp) {
        platform::current().messageBox("Unable to create shp file\n");
        return 0;
    }
    files.dbf = DBFCreate(path.c_str());
    if (!files.dbf) {
        platform::current().messageBox("DBFCreate(%s) failed\n");
        return 0;
    }
    if (DBFAddField(files.dbf, "NAME", FTString, kNameWidth, 0) == -1 ||
        DBFAddField(files.dbf, "XREF", FTDouble, kRefWidth, kRefDecimals) == -1 ||
        DBFAddField(files.dbf, "YREF", FTDouble, kRefWidth, kRefDecimals) == -1) {
        platform::current().messageBox("DBFAddField failed\n");
        return 0;
    }
    openInverseProjection();
    files.inverse = true;

    // The same three values go into every record. The name is cut to the field ourselves: a
    // longer one would make shapelib report the write as failed and the work would be lost.
    int nameWidth = 0;
    DBFGetFieldInfo(files.dbf, kFieldName, nullptr, &nameWidth, nullptr);
    const std::string name = nameFieldText(toNarrow(path), nameWidth);
    const std::string lon = formatDbfNumber(appState.originLonLat[0], kRefWidth, kRefDecimals);
    const std::string lat = formatDbfNumber(appState.originLonLat[1], kRefWidth, kRefDecimals);

    std::vector<double> x, y, z;
    for (RecordRange range : workSegments(appState.pauseMarks, appState.fixCount.load())) {
        buildRing(range, x, y);
        z.assign(x.size(), 0.0);
        SHPObject* shape =
            SHPCreateSimpleObject(SHPT_POLYGON, int(x.size()), x.data(), y.data(), z.data());
        if (!shape) return 0;
        int record = SHPWriteObject(files.shp, -1, shape);
        SHPDestroyObject(shape);
        if (record < 0 || !writeAttributes(files.dbf, record, name, lon, lat)) return 0;
    }
    return 1;
}
