#include "corrections/SourceTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(';', start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return fields;
}

bool readDegrees(const std::string& text, double low, double high, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(v) || v < low || v > high) return false;
    value = v;
    return true;
}

}  // namespace

// STR;mountpoint;identifier;format;format-details;carrier;nav-system;network;country;latitude;
// longitude;nmea;solution;generator;compr-encryp;authentication;fee;bitrate;misc
std::vector<Mountpoint> parseSourceTable(const std::string& text) {
    std::vector<Mountpoint> result;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("STR;", 0) != 0) continue;
        std::vector<std::string> f = splitFields(line);
        if (f.size() < 2 || f[1].empty()) continue;
        // Short records (a small caster's "STR;NAME;") still name a mountpoint.
        f.resize(std::max<std::size_t>(f.size(), 12));
        Mountpoint m;
        m.name = f[1];
        m.identifier = f[2];
        m.format = f[3];
        double lat = 0;
        double lon = 0;
        // Some tables give longitudes 0..360.
        if (readDegrees(f[9], -90, 90, lat) && readDegrees(f[10], -180, 360, lon) &&
            !(lat == 0 && lon == 0)) {
            m.latitude = lat;
            m.longitude = lon > 180 ? lon - 360 : lon;
            m.hasPosition = true;
        }
        m.needsPosition = f[11] == "1";
        result.push_back(std::move(m));
    }
    return result;
}

double distanceKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB) {
    constexpr double kEarthRadiusKm = 6371.0;
    constexpr double kRadians = M_PI / 180.0;
    const double dLat = (latitudeB - latitudeA) * kRadians;
    const double dLon = (longitudeB - longitudeA) * kRadians;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(latitudeA * kRadians) * std::cos(latitudeB * kRadians) *
                         std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(a)));
}

void sortNearestFirst(std::vector<Mountpoint>& mountpoints, double latitude, double longitude) {
    std::stable_sort(mountpoints.begin(), mountpoints.end(),
                     [&](const Mountpoint& a, const Mountpoint& b) {
                         if (a.hasPosition != b.hasPosition) return a.hasPosition;
                         if (!a.hasPosition) return a.name < b.name;
                         return distanceKm(latitude, longitude, a.latitude, a.longitude) <
                                distanceKm(latitude, longitude, b.latitude, b.longitude);
                     });
}
