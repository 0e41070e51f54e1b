#include "export/ShapefileChooser.h"

#include "platform/Platform.h"

bool chooseShapefile(std::string& path, bool open) {
    path.clear();
    auto mode = open ? platform::FileDialogMode::Open : platform::FileDialogMode::Save;
    // A name typed without extension comes back as typed: shapelib adds .shp, .shx and .dbf.
    return platform::current().chooseFile(mode, path);
}
