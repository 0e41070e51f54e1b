// The screen sizes the layout is made for, shared by the layout tests.
#pragma once

#include <string>
#include <vector>

namespace layout_test {

struct Size {
    int width, height;
};

// Every 40 pixels from the handheld screen's size up, in either orientation, and the handheld
// screens and the cab terminals and tablets of today, both ways round.
inline std::vector<Size> everySize() {
    std::vector<Size> sizes;
    for (int w = 240; w <= 1920; w += 40)
        for (int h = 240; h <= 1200; h += 40)
            if (w > h ? w >= 320 : h >= 320) sizes.push_back({w, h});
    for (Size s : {Size{240, 320}, Size{480, 640}, Size{800, 480}, Size{1024, 600}, Size{1280, 800},
                   Size{1920, 1080}, Size{1920, 1200}, Size{1366, 768}}) {
        sizes.push_back(s);
        sizes.push_back({s.height, s.width});
    }
    return sizes;
}

inline std::string name(Size s) {
    return std::to_string(s.width) + "x" + std::to_string(s.height);
}

}  // namespace layout_test
