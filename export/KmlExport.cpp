#include "export/KmlExport.h"

#include <shapefil.h>

#include <charconv>
#include <cstdio>

#include "export/BasePath.h"
#include "export/WorkFields.h"
#include "export/WorkRing.h"
#include "export/XmlText.h"

namespace {

// The document goes out in large blocks; a failed write or close fails the conversion.
class KmlFile {
  public:
    explicit KmlFile(const std::string& path) : file_(std::fopen(path.c_str(), "w")) {
        buffer_.reserve(kBlock + 4096);
    }
    ~KmlFile() {
        if (file_) std::fclose(file_);
    }
    bool isOpen() const { return file_ != nullptr; }
    std::string& text() { return buffer_; }
    void flushIfFull() {
        if (buffer_.size() >= kBlock) flush();
    }
    // True when everything reached the file.
    bool close() {
        flush();
        bool good = ok_ && std::fclose(file_) == 0;
        file_ = nullptr;
        return good;
    }

  private:
    static constexpr std::size_t kBlock = 1 << 20;
    void flush() {
        if (!buffer_.empty() &&
            std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            ok_ = false;
        buffer_.clear();
    }
    std::FILE* file_;
    std::string buffer_;
    bool ok_ = true;
};

void appendFixed(std::string& out, double v, int decimals) {
    char digits[400];
    auto [end, ec] =
        std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, decimals);
    if (ec == std::errc()) out.append(digits, end);
}

// One coordinate line: longitude and latitude with six decimals, height 0.00.
void appendVertex(std::string& out, double lon, double lat) {
    appendFixed(out, lon, 6);
    out += ',';
    appendFixed(out, lat, 6);
    out += ",0.00\n";
}

void appendHex2(std::string& out, unsigned value) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += kHex[(value >> 4) & 15];
    out += kHex[value & 15];
}

void appendPlacemark(KmlFile& kml, const SHPObject& shape, int pairs, int number,
                     std::uint32_t trackColor) {
    std::string& out = kml.text();
    out += "<Placemark>\n<name>Track ";
    out += std::to_string(number);
    out += "</name>\n<Style>\n<PolyStyle>\n<color>b2";
    // KML colours are aabbggrr; the track colour keeps red in its low byte.
    appendHex2(out, (trackColor >> 16) & 0xFF);
    appendHex2(out, (trackColor >> 8) & 0xFF);
    appendHex2(out, trackColor & 0xFF);
    out += "</color>\n</PolyStyle>\n</Style>\n";
    out +=
        "<Polygon>\n<tessellate>1</tessellate>\n<outerBoundaryIs>\n<LinearRing>\n"
        "<coordinates>\n";
    // The ring's own vertices, without the closing one a newer file carries: the document closes
    // every ring exactly once, whether the file closed it or not.
    for (int v = 0; v < 2 * pairs; ++v) {
        appendVertex(out, shape.padfX[v], shape.padfY[v]);
        kml.flushIfFull();
    }
    appendVertex(out, shape.padfX[0], shape.padfY[0]);
    out += "</coordinates>\n</LinearRing>\n</outerBoundaryIs>\n</Polygon>\n</Placemark>\n";
    kml.flushIfFull();
}

// The placemarks of every usable shape; false when the file is not a polygon file.
bool appendPlacemarks(KmlFile& kml, const std::string& base, std::uint32_t trackColor) {
    DBFHandle dbf = DBFOpen(base.c_str(), "rb");
    if (!dbf) return true;
    bool polygons = true;
    if (DBFGetFieldIndex(dbf, "XREF") == kFieldXref &&
        DBFGetFieldIndex(dbf, "YREF") == kFieldYref) {
        if (SHPHandle shp = SHPOpen(base.c_str(), "rb")) {
            int count = 0, type = 0;
            SHPGetInfo(shp, &count, &type, nullptr, nullptr);
            polygons = type == SHPT_POLYGON;
            for (int i = 0; polygons && i < count; ++i) {
                SHPObject* shape = SHPReadObject(shp, i);
                if (!shape) continue;
                // A shape without vertices has no ring to close and is skipped like one that is
                // no work ring; the tracks keep the numbers of their shapes either way.
                int pairs = ringPairCount(*shape);
                if (pairs > 0) appendPlacemark(kml, *shape, pairs, i + 1, trackColor);
                SHPDestroyObject(shape);
            }
            SHPClose(shp);
        }
    }
    DBFClose(dbf);
    return polygons;
}

}  // namespace

int convertShapefileToKml(std::string& path, std::uint32_t trackColor) {
    // The document's name is the work's with the extension kml; a name too short to hold an
    // extension has no room for it.
    if (path.size() < 4) return 0;
    std::string kmlPath = path;
    kmlPath.replace(kmlPath.size() - 3, 3, "kml");
    KmlFile kml(kmlPath);
    if (!kml.isOpen()) return 0;
    cutAtExtension(path);

    std::string& out = kml.text();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n";
    out += "<Document>\n<name>Sulcovane</name>\n<Folder>\n<name>";
    appendXmlText(out, path);
    out += "</name>\n<Folder>\n<name>Objects</name>\n<open>1</open>\n";
    // A file of other shapes leaves the document unfinished and the conversion failed.
    if (!appendPlacemarks(kml, path, trackColor)) {
        kml.close();
        return 0;
    }
    out += "</Folder>\n</Folder></Document></kml>\n";
    return kml.close() ? 1 : 0;
}
