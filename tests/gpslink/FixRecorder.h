// Collects the fixes a parser or the library delivers, for the receiver link's tests.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "gpslink/satlinker.h"
#include "tools/FixLine.h"

struct FixRecorder {
    std::mutex mutex;
    std::vector<GPS_POSITION> fixes;
    std::vector<std::string> lines;

    void add(const GPS_POSITION& p) {
        char line[160];
        formatFixLine(p, line, sizeof line);
        std::lock_guard<std::mutex> lock(mutex);
        fixes.push_back(p);
        lines.emplace_back(line);
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex);
        fixes.clear();
        lines.clear();
    }
    std::string lineAt(std::size_t i) {
        std::lock_guard<std::mutex> lock(mutex);
        return i < lines.size() ? lines[i] : std::string();
    }
    std::size_t count() {
        std::lock_guard<std::mutex> lock(mutex);
        return fixes.size();
    }
};

// The one recorder the plain callback writes to.
inline FixRecorder& recorder() {
    static FixRecorder r;
    return r;
}

inline void recordFix(GPS_POSITION position) {
    recorder().add(position);
}
