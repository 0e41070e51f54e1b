#include "app/FarmConfig.h"

#include <QSettings>
#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"
#include "app/SettingsFile.h"

namespace {

constexpr int kMostHeadlandPasses = 5;
// An offset moves a driven boundary by what a hedge or a ditch asks, not by a field's width.
constexpr double kLargestOffsetM = 50.0;

}  // namespace

std::string& farmBookSetting() {
    static std::string book;
    return book;
}

void loadFarmConfig() {
    QSettings ini(QString::fromStdString(configPath()), QSettings::IniFormat);
    ini.beginGroup("farm");
    const StoredSettings initial;
    StoredSettings& s = appState.settings;
    farmBookSetting() = ini.value("book").toString().trimmed().toStdString();
    bool ok = false;
    const int passes = ini.value("headland_passes").toString().trimmed().toInt(&ok);
    s.headlandPasses = ok ? std::clamp(passes, 1, kMostHeadlandPasses) : initial.headlandPasses;
    const QString source = ini.value("boundary").toString().trimmed().toLower();
    s.boundarySource = source == "left"    ? kBoundaryLeftEdge
                       : source == "right" ? kBoundaryRightEdge
                                           : kBoundaryAntenna;
    const double offset = ini.value("boundary_offset").toString().trimmed().toDouble(&ok);
    s.boundaryOffsetM = ok && std::isfinite(offset)
                            ? std::clamp(offset, -kLargestOffsetM, kLargestOffsetM)
                            : initial.boundaryOffsetM;
    ini.endGroup();
}

void saveFarmConfig() {
    const StoredSettings s = appState.settings;
    writeInBackground([book = farmBookSetting(), passes = s.headlandPasses,
                       source = s.boundarySource, offset = s.boundaryOffsetM] {
        std::unique_ptr<QSettings> file = openConfigFile();
        QSettings& ini = *file;
        ini.beginGroup("farm");
        if (book.empty())
            ini.remove("book");
        else
            ini.setValue("book", QString::fromStdString(book));
        ini.setValue("headland_passes", passes);
        ini.setValue("boundary", source == kBoundaryLeftEdge    ? "left"
                                 : source == kBoundaryRightEdge ? "right"
                                                                : "antenna");
        ini.setValue("boundary_offset", QString::number(offset, 'f', 2));
        ini.endGroup();
        ini.sync();
        const bool ok = ini.status() == QSettings::NoError;
        restrictConfigFile();
        return ok;
    });
}

std::string farmBookPath() {
    const std::string& book = farmBookSetting();
    return book.empty() ? settingsFolder() + "farm.gpkg" : book;
}
