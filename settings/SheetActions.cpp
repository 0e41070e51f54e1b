#include "settings/SheetActions.h"

#include "app/AppState.h"
#include "app/GpsControl.h"
#include "app/GpsWait.h"
#include "app/SettingsFile.h"
#include "app/WorkScreen.h"
#include "export/KmlExport.h"
#include "export/ShapefileChooser.h"
#include "settings/FieldFileChooser.h"

namespace {

SheetActions programActions() {
    return {
        saveSettings,
        isGpsRunning,
        setGpsEnabled,
        startGpsWait,
        rebuildVehicleImage,
        chooseShapefile,
        [](std::string& path) { return convertShapefileToKml(path, appState.settings.trackColor); },
        chooseFieldFile};
}

SheetActions actions = programActions();

}  // namespace

SheetActions& sheetActions() {
    return actions;
}

void resetSheetActions() {
    actions = programActions();
}
