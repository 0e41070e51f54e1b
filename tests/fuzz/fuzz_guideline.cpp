// A saved work's guide line file: any bytes are read as a line or refused, never more.
#include <cpl_vsi.h>

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "export/GuideLineFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* path = "/vsimem/fuzz.line.geojson";
    VSILFILE* file = VSIFileFromMemBuffer(path, const_cast<GByte*>(data), size, FALSE);
    if (!file) return 0;
    VSIFCloseL(file);
    SavedGuideLine line;
    if (readGuideLine(path, line)) {
        if (line.lonLat.size() < 4 || line.lonLat.size() % 2 != 0) __builtin_trap();
        for (std::size_t i = 0; i < line.lonLat.size(); ++i)
            if (!std::isfinite(line.lonLat[i]) || std::fabs(line.lonLat[i]) > 180.0)
                __builtin_trap();
    }
    VSIUnlink(path);
    return 0;
}
