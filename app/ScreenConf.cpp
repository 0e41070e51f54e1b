#include "app/ScreenConf.h"

#include <QSettings>
#include <QString>

#include "app/ConfigFile.h"

namespace {
constexpr const char* kPaletteKey = "screen/palette";
}  // namespace

PaletteChoice readPaletteChoice(const std::string& path) {
    const QSettings conf(QString::fromStdString(path), QSettings::IniFormat);
    const QString value = conf.value(kPaletteKey).toString().trimmed().toLower();
    if (value == QLatin1String("night")) return PaletteChoice::Night;
    if (value == QLatin1String("auto")) return PaletteChoice::Automatic;
    return PaletteChoice::Day;
}

bool writePaletteChoice(const std::string& path, PaletteChoice choice) {
    const auto conf = openConfigFile(path);
    const char* value = choice == PaletteChoice::Night       ? "night"
                        : choice == PaletteChoice::Automatic ? "auto"
                                                             : "day";
    conf->setValue(kPaletteKey, QString::fromLatin1(value));
    conf->sync();
    const bool ok = conf->status() == QSettings::NoError;
    restrictConfigFile(path);
    return ok;
}
