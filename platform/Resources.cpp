#include "platform/Resources.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <map>
#include <mutex>
#include <string>

namespace platform {

namespace {
// File endings by resource type, as the files under resources/<TYPE>/ are named.
const char* endingFor(std::string_view type) {
    if (type == "GIF") return "gif";
    if (type == "BITMAP") return "bmp";
    if (type == "FONTS") return "bin";
    if (type == "WAVE") return "wav";
    if (type == "ICON") return "png";
    return nullptr;
}
}  // namespace

std::span<const std::uint8_t> findResource(std::string_view type, std::string_view id) {
    const char* ending = endingFor(type);
    if (!ending) return {};
    std::string key = std::string(type) + "/" + std::string(id) + "." + ending;

    // Loaded once and kept for the whole run, so callers may hold the bytes.
    static std::mutex mutex;
    static std::map<std::string, QByteArray> cache;
    std::lock_guard lock(mutex);
    auto it = cache.find(key);
    if (it == cache.end()) {
        QFile file(QString::fromStdString(":/" + key));
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
        it = cache.emplace(key, std::move(bytes)).first;
    }
    return {reinterpret_cast<const std::uint8_t*>(it->second.constData()),
            std::size_t(it->second.size())};
}

}  // namespace platform
