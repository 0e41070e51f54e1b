#include "app/ScreenConf.h"

#include <QSettings>
#include <QString>

#include "app/SettingsFile.h"

namespace {
constexpr const char* kPaletteKey = "screen/palette";
}  // namespace

std::string screenConfPath() {
    std::string path = settingsPath();
    const std::size_t slash = path.rfind('/');
    path.erase(slash == std::string::npos ? 0 : slash + 1);
    return path + "sulcovane.conf";
}

PaletteChoice readPaletteChoice(const std::string& path) {
    const QSettings conf(QString::fromStdString(path), QSettings::IniFormat);
    const QString value = conf.value(kPaletteKey).toString().trimmed().toLower();
    if (value == QLatin1String("night")) return PaletteChoice::Night;
    if (value == QLatin1String("auto")) return PaletteChoice::Automatic;
    return PaletteChoice::Day;
}

void writePaletteChoice(const std::string& path, PaletteChoice choice) {
    QSettings conf(QString::fromStdString(path), QSettings::IniFormat);
    const char* value = choice == PaletteChoice::Night       ? "night"
                        : choice == PaletteChoice::Automatic ? "auto"
                                                             : "day";
    conf.setValue(kPaletteKey, QString::fromLatin1(value));
    conf.sync();
}
