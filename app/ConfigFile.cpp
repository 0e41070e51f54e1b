#include "app/ConfigFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/SettingsFile.h"

std::string configPath() {
    return settingsFolder() + "sulcovane.conf";
}

std::unique_ptr<QSettings> openConfigFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    // Created owner-only before anything is written to it: the password is never readable by
    // others, not even for a moment.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
    return std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
}

void restrictConfigFile(const std::string& path) {
    ::chmod(path.c_str(), 0600);
}
