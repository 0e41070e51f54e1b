#include "export/ShapefileChooser.h"

#include <filesystem>

#include "platform/Platform.h"

bool chooseShapefile(std::string& path, bool open) {
    path.clear();
    auto mode = open ? platform::FileDialogMode::Open : platform::FileDialogMode::Save;
    // A name typed without extension comes back as typed: shapelib adds .shp, .shx and .dbf.
    return platform::current().chooseFile(mode, path);
}

bool replacesUnaskedFiles(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                           ? path.substr(0, dot)
                           : path;
    std::error_code error;
    for (const char* extension : {".shp", ".shx", ".dbf", ".prj", ".cpg"}) {
        std::string file = base + extension;
        if (file != path && std::filesystem::exists(file, error)) return true;
    }
    return false;
}
