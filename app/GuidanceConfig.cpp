// QSettings in INI format keeps every other section of the file (the corrections' among them)
// as it is when this one is written.
#include "app/GuidanceConfig.h"

#include <QSettings>
#include <QString>
#include <cmath>
#include <limits>
#include <memory>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
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
    appState.settings.guidancePattern = value;
    appState.settings.headingDegrees = heading;
}

void saveGuidanceConfig() {
    const char* pattern = patternName(appState.settings.guidancePattern);
    const double heading = appState.settings.headingDegrees;
    writeInBackground([pattern, heading, output = outputAddress] {
        std::unique_ptr<QSettings> file = openConfigFile();
        QSettings& ini = *file;
        ini.beginGroup("guidance");
        ini.setValue("pattern", pattern);
        if (std::isfinite(heading))
            ini.setValue("heading", QString::number(heading, 'f', 1));
        else
            ini.remove("heading");
        if (!output.empty()) ini.setValue("output", QString::fromStdString(output));
        ini.endGroup();
        ini.sync();
        const bool ok = ini.status() == QSettings::NoError;
        restrictConfigFile();
        return ok;
    });
}
