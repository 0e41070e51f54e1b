// QSettings in INI format keeps every other section of the file as it is when this one is
// written.
#include "app/CoverageConfig.h"

#include <QSettings>
#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"

namespace {

double readNumber(QSettings& ini, const char* key, double initial, double low, double high) {
    bool ok = false;
    const double value = ini.value(key).toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return initial;
    return std::clamp(value, low, high);
}

}  // namespace

void loadCoverageConfig() {
    QSettings ini(QString::fromStdString(configPath()), QSettings::IniFormat);
    ini.beginGroup("coverage");
    const StoredSettings initial;
    appState.settings.lookAheadSeconds =
        readNumber(ini, "look_ahead", initial.lookAheadSeconds, 0.0, 10.0);
    appState.settings.warnSharePercent =
        readNumber(ini, "warn_share", initial.warnSharePercent, 0.0, 100.0);
    ini.endGroup();
}

void saveCoverageConfig() {
    const double lookAhead = appState.settings.lookAheadSeconds;
    const double share = appState.settings.warnSharePercent;
    writeInBackground([lookAhead, share] {
        std::unique_ptr<QSettings> file = openConfigFile();
        QSettings& ini = *file;
        ini.beginGroup("coverage");
        ini.setValue("look_ahead", QString::number(lookAhead, 'f', 1));
        ini.setValue("warn_share", QString::number(share, 'f', 0));
        ini.endGroup();
        ini.sync();
        const bool ok = ini.status() == QSettings::NoError;
        restrictConfigFile();
        return ok;
    });
}
