// Weak stand-ins for calls between subsystems that are still being written, so that every
// subsystem links on its own. Each real definition replaces its stand-in; this file goes away
// once all have landed.
#include <string>

#include "app/AppState.h"
#include "app/GpsControl.h"
#include "app/GpsWait.h"
#include "app/InfoPanel.h"
#include "app/MessageScreen.h"
#include "app/ReviewThread.h"
#include "app/SettingsFile.h"
#include "app/Texts.h"
#include "app/WindowProc.h"
#include "app/WorkScreen.h"
#include "export/KmlExport.h"
#include "export/ShapefileChooser.h"
#include "export/ShapefileExport.h"
#include "export/ShapefileReview.h"
#include "guidance/FixProcessing.h"
#include "guidance/GuidanceLines.h"
#include "guidance/Projection.h"
#include "guidance/WorkedStrip.h"
#include "settings/SettingsSheet.h"

#define PENDING __attribute__((weak))

PENDING std::intptr_t windowProc(std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}
PENDING void resetWork() {}
PENDING void stopReview() {}
PENDING void recomputeView() {}
PENDING void rebuildVehicleImage() {}
PENDING void drawBackground(gfx::Rasterizer&) {}
PENDING void drawWorkScreen(gfx::Rasterizer&) {}
PENDING void drawWorkButtons(gfx::Rasterizer&) {}
PENDING ScreenPoint worldToScreen(IntPoint) {
    return {};
}
PENDING ScreenPoint worldToScreen(Vec2) {
    return {};
}
PENDING void drawInfoPanel(gfx::Rasterizer&) {}
PENDING void showMessageScreen(const char*) {}
PENDING void drawConfirmScreen() {}
PENDING void installTexts() {}
PENDING const char* messageText(int) {
    return "";
}
PENDING void loadFont() {}
PENDING int chooseLanguage(std::string_view) {
    return 0;
}
PENDING void startGpsWait() {}
PENDING void stopGpsWait() { appState.waitingForFix = 0; }
PENDING std::string settingsPath() {
    return std::string(appState.moduleDir) + "Settings.dat";
}
PENDING void loadSettings() {}
PENDING void saveSettings() {}
PENDING void startReview() {}
PENDING void joinReview() {}
PENDING int isGpsRunning() {
    return appState.gpsRunning;
}
PENDING void setGpsEnabled(int) {}
PENDING void setGpsDeviceOverride(const char*) {}
PENDING void openMenu() {}
PENDING bool chooseShapefile(std::string&, bool) {
    return false;
}
PENDING int exportShapefile(const std::string&) {
    return 0;
}
PENDING int readShapefileForReview(std::string&) {
    return 0;
}
PENDING int convertShapefileToKml(std::string&) {
    return 0;
}
PENDING int configureGeodesyData() {
    return 1;
}
PENDING int setUpProjection() {
    return 0;
}
PENDING void releaseProjection() {}
PENDING UtmZone utmZoneForLongitude(double) {
    return {};
}
PENDING void setOrigin(double, double) {}
PENDING IntPoint projectFix(double, double) {
    return {};
}
PENDING void openInverseProjection() {}
PENDING void closeInverseProjection() {}
PENDING void unprojectPoint(IntPoint, double& lon, double& lat) {
    lon = lat = 0.0;
}
PENDING const char* toNarrow(std::string_view) {
    return "";
}
PENDING void onFix(GPS_POSITION) {}
PENDING void setAbLine(GuidanceLines&, Vec2, Vec2, double) {}
PENDING void appendStrip(IntPoint, std::int32_t, std::int32_t, std::int64_t) {}
PENDING void addStripArea() {}
PENDING double stepLength() {
    return 0.0;
}
