// Saving a work: every file of the work is written under a temporary name beside the chosen one
// and checked, and only a complete set replaces what the chosen name held before. A save that
// fails in any way leaves the old work as it was and no part of the new one behind.
#include "export/ShapefileExport.h"

#include <shapefil.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "export/BasePath.h"
#include "export/DbfNumber.h"
#include "export/WorkFields.h"
#include "export/WorkSegments.h"
#include "guidance/Projection.h"
#include "platform/Platform.h"

namespace {

// The files of one work, the geometry's first and last: a reader finding the .shp finds the rest.
constexpr const char* kExtensions[] = {".shx", ".dbf", ".prj", ".cpg", ".shp"};

// The work's coordinates are WGS 84 longitude and latitude, in the form GIS programs expect
// beside a shapefile.
constexpr char kWgs84Prj[] =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
constexpr char kCodePage[] = "UTF-8";

// shapelib reports write errors only through its hooks, which carry no context: one save runs
// at a time on a thread, so a thread's flag serves.
thread_local bool shapelibFailed = false;
void noteShapelibError(const char* message) {
    shapelibFailed = true;
    std::fprintf(stderr, "sulcomain: shapelib: %s\n", message);
}

// Everything the save opened or created, released and removed on every way out but success.
struct PendingSave {
    std::string temporary;  // base name of the files being written
    SHPHandle shp = nullptr;
    DBFHandle dbf = nullptr;
    // Open while the save runs; closed with it.
    ProjectionTransforms* inverse = nullptr;
    bool reserved = false;
    bool done = false;
    ~PendingSave() {
        if (inverse) closeInverseProjection(*inverse);
        if (shp) SHPClose(shp);
        if (dbf) DBFClose(dbf);
        if (done) return;
        for (const char* ext : kExtensions) std::remove((temporary + ext).c_str());
        if (reserved) std::remove(temporary.c_str());
    }
};

// A name beside the chosen one that no other file has: the reservation itself is an empty file
// without extension, and the work's files take its name with their extensions.
bool reserveTemporaryName(const std::string& base, PendingSave& save) {
    std::string name = base + ".saving-XXXXXX";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    int fd = mkstemp(buffer.data());
    if (fd < 0) return false;
    close(fd);
    save.temporary = buffer.data();
    save.reserved = true;
    return true;
}

long long fileSize(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return -1;
    return static_cast<long long>(info.st_size);
}

// Writes a small text file completely or reports that it could not.
bool writeTextFile(const std::string& path, const char* text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::size_t length = std::strlen(text);
    bool good = std::fwrite(text, 1, length, file) == length;
    good = std::fclose(file) == 0 && good;
    return good && fileSize(path) == static_cast<long long>(length);
}

// Reads what a file holds, up to limit bytes.
std::string readStart(const std::string& path, std::size_t limit) {
    std::string text(limit, '\0');
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    text.resize(std::fread(text.data(), 1, limit, file));
    std::fclose(file);
    return text;
}

// The ring of one segment in the plane: left points forward, right points backward. Left is
// left of the direction of travel, so the ring runs clockwise; where sharp turns fold it the
// other way it is turned round, since an outer ring must run clockwise.
void buildPlaneRing(const StripRecord& strips, RecordRange range, std::vector<PlanePoint>& ring) {
    std::size_t m = range.end - range.begin;
    ring.resize(2 * m);
    for (std::size_t j = 0; j < m; ++j) {
        const TrackEdge& r = strips[range.begin + j];
        ring[j] = {r.leftX, r.leftY};
        ring[2 * m - 1 - j] = {r.rightX, r.rightY};
    }
    double twiceArea = 0.0;  // positive counter-clockwise (x east, y north)
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const PlanePoint& a = ring[i];
        const PlanePoint& b = ring[(i + 1) % ring.size()];
        twiceArea += (a.x - ring[0].x) * (b.y - ring[0].y) - (b.x - ring[0].x) * (a.y - ring[0].y);
    }
    if (twiceArea > 0.0) {
        // Turned round about its first pair, so that vertex j and 2m - 1 - j still pair up.
        for (std::size_t j = 0; j < m; ++j) std::swap(ring[j], ring[2 * m - 1 - j]);
    }
}

// The ring in degrees, closed by its first vertex; false when a vertex cannot be turned back
// into degrees (it would otherwise be written as metres).
bool ringToDegrees(const ProjectionTransforms& transforms, const WorkPlane& plane,
                   const std::vector<PlanePoint>& ring, std::vector<double>& x,
                   std::vector<double>& y) {
    x.resize(ring.empty() ? 0 : ring.size() + 1);
    y.resize(x.size());
    for (std::size_t i = 0; i < ring.size(); ++i)
        if (!unprojectPoint(transforms, plane, ring[i], x[i], y[i])) return false;
    if (!ring.empty()) {
        x.back() = x[0];
        y.back() = y[0];
    }
    return true;
}

// shapelib only reads the text it is given to copy, whatever its signature says.
bool writeAttributes(DBFHandle dbf, int record, const std::string& name, const std::string& lon,
                     const std::string& lat) {
    return DBFWriteStringAttribute(dbf, record, kFieldName, name.c_str()) &&
           DBFWriteAttributeDirectly(dbf, record, kFieldXref, const_cast<char*>(lon.c_str())) &&
           DBFWriteAttributeDirectly(dbf, record, kFieldYref, const_cast<char*>(lat.c_str()));
}

// Closes the two tables and checks that what reached the disk is everything shapelib meant to
// write: a full disk can shorten a file without shapelib noticing.
bool closeAndVerify(PendingSave& save) {
    const long long shpSize = save.shp->nFileSize;
    const long long shapes = save.shp->nRecords;
    const long long records = save.dbf->nRecords;
    const long long dbfSize =
        static_cast<long long>(save.dbf->nHeaderLength) + records * save.dbf->nRecordLength;
    SHPClose(save.shp);
    save.shp = nullptr;
    DBFClose(save.dbf);
    save.dbf = nullptr;
    if (shapelibFailed || records != shapes) return false;
    if (fileSize(save.temporary + ".shp") != shpSize) return false;
    if (fileSize(save.temporary + ".shx") != 100 + 8 * shapes) return false;
    // The table may end with an end-of-file mark; its header must count every record.
    long long tableSize = fileSize(save.temporary + ".dbf");
    if (tableSize != dbfSize && tableSize != dbfSize + 1) return false;
    std::string header = readStart(save.temporary + ".dbf", 8);
    if (header.size() != 8) return false;
    long long counted = 0;
    for (int b = 7; b >= 4; --b) counted = counted * 256 + static_cast<unsigned char>(header[b]);
    if (counted != records) return false;
    // shapelib writes the code page file unchecked.
    return readStart(save.temporary + ".cpg", 64).rfind(kCodePage, 0) == 0;
}

// Moves the complete set onto the chosen name, geometry last. What the name held before is set
// aside first and put back if any move fails, so a failure leaves the old work whole.
bool publish(const PendingSave& save, const std::string& base) {
    constexpr std::size_t kCount = std::size(kExtensions);
    bool setAside[kCount] = {};
    std::size_t moved = 0;
    bool good = true;
    for (std::size_t i = 0; i < kCount && good; ++i) {
        const std::string target = base + kExtensions[i];
        const std::string aside = save.temporary + kExtensions[i] + ".old";
        struct stat info {};
        if (lstat(target.c_str(), &info) == 0) {
            // A folder where a file of the work belongs is nothing to replace.
            if (S_ISDIR(info.st_mode) || std::rename(target.c_str(), aside.c_str()) != 0) {
                good = false;
                break;
            }
            setAside[i] = true;
        }
        if (std::rename((save.temporary + kExtensions[i]).c_str(), target.c_str()) != 0) {
            good = false;
            break;
        }
        moved = i + 1;
    }
    for (std::size_t i = 0; i < kCount; ++i) {
        const std::string target = base + kExtensions[i];
        const std::string aside = save.temporary + kExtensions[i] + ".old";
        if (good) {
            if (setAside[i]) std::remove(aside.c_str());
            continue;
        }
        if (i < moved) std::remove(target.c_str());
        if (setAside[i]) std::rename(aside.c_str(), target.c_str());
    }
    return good;
}

}  // namespace

int exportShapefile(const std::string& path, const WorkRecord& work,
                    ProjectionTransforms& transforms, std::size_t maxShapePairs) {
    std::string base = path;
    cutAtExtension(base);
    PendingSave save;
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.Error = noteShapelibError;
    shapelibFailed = false;

    if (reserveTemporaryName(base, save))
        save.shp = SHPCreateLL((save.temporary + ".shp").c_str(), SHPT_POLYGON, &hooks);
    if (!save.shp) {
        platform::current().messageBox("Unable to create shp file\n");
        return 0;
    }
    save.dbf = DBFCreateLL((save.temporary + ".dbf").c_str(), kCodePage, &hooks);
    if (!save.dbf) {
        platform::current().messageBox("DBFCreate(%s) failed\n");
        return 0;
    }
    if (DBFAddField(save.dbf, "NAME", FTString, kNameWidth, 0) == -1 ||
        DBFAddField(save.dbf, "XREF", FTDouble, kRefWidth, kRefDecimals) == -1 ||
        DBFAddField(save.dbf, "YREF", FTDouble, kRefWidth, kRefDecimals) == -1) {
        platform::current().messageBox("DBFAddField failed\n");
        return 0;
    }
    if (!writeTextFile(save.temporary + ".prj", kWgs84Prj)) return 0;
    openInverseProjection(transforms);
    save.inverse = &transforms;

    // The same three values go into every record. The name is cut to the field ourselves: a
    // longer one would make shapelib report the write as failed and the work would be lost.
    int nameWidth = 0;
    DBFGetFieldInfo(save.dbf, kFieldName, nullptr, &nameWidth, nullptr);
    const std::string name = nameFieldText(toNarrow(path), nameWidth);
    const std::string lon = formatDbfNumber(work.plane.originLonLat[0], kRefWidth, kRefDecimals);
    const std::string lat = formatDbfNumber(work.plane.originLonLat[1], kRefWidth, kRefDecimals);

    std::vector<PlanePoint> ring;
    std::vector<double> x, y, z;
    // One polygon per segment; a segment too long for one shape goes on in the next.
    for (RecordRange segment : workSegments(work.pauseMarks, work.strips.size())) {
        for (RecordRange range : segmentShapes(segment, maxShapePairs)) {
            buildPlaneRing(work.strips, range, ring);
            if (!ringToDegrees(transforms, work.plane, ring, x, y)) return 0;
            z.assign(x.size(), 0.0);
            SHPObject* shape =
                SHPCreateSimpleObject(SHPT_POLYGON, int(x.size()), x.data(), y.data(), z.data());
            if (!shape) return 0;
            int record = SHPWriteObject(save.shp, -1, shape);
            SHPDestroyObject(shape);
            if (record < 0 || !writeAttributes(save.dbf, record, name, lon, lat)) return 0;
            if (shapelibFailed) return 0;
        }
    }
    closeInverseProjection(transforms);
    save.inverse = nullptr;
    if (!closeAndVerify(save) || !publish(save, base)) return 0;
    save.done = true;
    std::remove(save.temporary.c_str());
    return 1;
}
