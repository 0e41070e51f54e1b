// QSettings in INI format keeps every other section of the file (the corrections' among them)
// as it is when this one is written.
#include "app/GuidanceConfig.h"

#include <QSettings>
#include <QString>
#include <cmath>
#include <limits>
#include <memory>

#include "app/AppState.h"
#include "app/ConfigFile.h"
#include "guidance/GuidancePattern.h"

namespace {

std::string outputAddress;

}  // namespace

const std::string& guidanceOutputAddress() {
    return outputAddress;
}

void loadGuidanceConfig() {
    QSettings ini(QString::fromStdString(configPath()), QSettings::IniFormat);
    ini.beginGroup("guidance");
    const QString pattern = ini.value("pattern", "straight").toString().trimmed().toLower();
    const std::uint8_t value = patternFromName(pattern.toStdString());
    bool ok = false;
    double heading = ini.value("heading").toString().trimmed().toDouble(&ok);
    // Any heading is taken modulo a full turn; text that is not a number means none.
    if (!ok || !std::isfinite(heading))
        heading = std::numeric_limits<double>::quiet_NaN();
    else
        heading = std::fmod(std::fmod(heading, 360.0) + 360.0, 360.0);
    outputAddress = ini.value("output").toString().trimmed().toStdString();
    ini.endGroup();
    appState.guidancePattern = value;
    appState.headingDegrees = heading;
}

void saveGuidanceConfig() {
    std::unique_ptr<QSettings> file = openConfigFile();
    QSettings& ini = *file;
    ini.beginGroup("guidance");
    ini.setValue("pattern", patternName(appState.guidancePattern));
    if (std::isfinite(appState.headingDegrees))
        ini.setValue("heading", QString::number(appState.headingDegrees, 'f', 1));
    else
        ini.remove("heading");
    if (!outputAddress.empty()) ini.setValue("output", QString::fromStdString(outputAddress));
    ini.endGroup();
    ini.sync();
    restrictConfigFile();
}
