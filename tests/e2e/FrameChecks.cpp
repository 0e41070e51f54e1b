#include "FrameChecks.h"

#include "app/AppState.h"
#include "gfx/Pixel.h"

namespace {

template <typename Match>
int count(const QImage& frame, QRect region, Match match) {
    if (frame.isNull() || frame.format() != QImage::Format_RGB16) return 0;
    region = region.intersected(frame.rect());
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const auto* line = reinterpret_cast<const std::uint16_t*>(frame.constScanLine(y));
        for (int x = region.left(); x <= region.right(); ++x)
            if (match(line[x])) ++n;
    }
    return n;
}

}  // namespace

int countPixels(const QImage& frame, QRect region, std::uint16_t colour) {
    return count(frame, region, [colour](std::uint16_t p) { return p == colour; });
}

int countOtherPixels(const QImage& frame, QRect region, std::uint16_t colour) {
    return count(frame, region, [colour](std::uint16_t p) { return p != colour; });
}

QRect wholeFrame(const QImage& frame) {
    return frame.rect();
}

std::uint16_t trackPixel() {
    return gfx::pixelFromColorRef(appState.settings.trackColor);
}
std::uint16_t textPixel() {
    return gfx::pixelFromColorRef(appState.settings.textColor);
}
std::uint16_t backgroundPixel() {
    return gfx::pixelFromColorRef(appState.settings.backgroundColor);
}
