#include "settings/SheetActions.h"

#include "app/GpsControl.h"
#include "app/GpsWait.h"
#include "app/SettingsFile.h"
#include "app/WorkScreen.h"
#include "export/KmlExport.h"
#include "export/ShapefileChooser.h"

namespace {

SheetActions programActions() {
    return {saveSettings,        isGpsRunning,    setGpsEnabled,        startGpsWait,
            rebuildVehicleImage, chooseShapefile, convertShapefileToKml};
}

SheetActions actions = programActions();

}  // namespace

SheetActions& sheetActions() {
    return actions;
}

void resetSheetActions() {
    actions = programActions();
}
