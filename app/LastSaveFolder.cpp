#include "app/LastSaveFolder.h"

#include <QSettings>
#include <QString>
#include <cstdlib>
#include <filesystem>

#include "app/ConfigFile.h"

std::string lastSaveFolder() {
    const QSettings conf(QString::fromStdString(configPath()), QSettings::IniFormat);
    std::string folder = conf.value(QStringLiteral("work/lastSaveFolder")).toString().toStdString();
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
        const char* home = std::getenv("HOME");
        folder = home && home[0] == '/' ? home : ".";
    }
    if (folder.back() != '/') folder += '/';
    return folder;
}

void rememberSaveFolder(const std::string& savedPath) {
    std::error_code error;
    auto folder = std::filesystem::absolute(savedPath, error).parent_path();
    if (error) return;
    const auto conf = openConfigFile();
    conf->setValue(QStringLiteral("work/lastSaveFolder"), QString::fromStdString(folder.string()));
    conf->sync();
    restrictConfigFile();
}
