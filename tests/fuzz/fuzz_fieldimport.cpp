// A farm's field file as another program may leave it: any bytes, read as GeoJSON through the
// same import as a file the driver picks. Every field that comes in must be valid, have ground
// and a name; anything else must be refused with a reason.
#include <cpl_vsi.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "farm/FieldGeometry.h"
#include "farm/FieldImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* path = "/vsimem/fuzz-fields.geojson";
    VSILFILE* file =
        VSIFileFromMemBuffer(path, const_cast<GByte*>(data), vsi_l_offset(size), FALSE);
    if (!file) return 0;
    VSIFCloseL(file);
    std::vector<ImportedField> fields;
    std::string error;
    const bool read = importFields(path, "", fields, error);
    VSIUnlink(path);
    if (!read && error.empty()) std::abort();
    for (const ImportedField& f : fields) {
        if (f.field.name.empty() || f.field.boundary.empty()) std::abort();
        if (!(f.field.areaHa >= 0.0) || !std::isfinite(f.field.areaHa)) std::abort();
        for (const FieldPolygon& p : f.field.boundary)
            if (p.outer.size() < 3) std::abort();
    }
    return 0;
}
