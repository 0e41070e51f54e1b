// Pictures are decoded by Qt (BMP built in, GIF through its image plugin) and each pixel is
// reduced to RGB565 by keeping the top bits, as the colour settings are.
#include "gfx/ImageLoader.h"

#include <QImage>
#include <climits>
#include <string>

#include "platform/Resources.h"

namespace gfx {

namespace {
Surface* decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return nullptr;
    return DecodeImageBytes(bytes.data(), bytes.data() + bytes.size());
}

Surface* loadBitmap(const std::string& id) {
    return decode(platform::findResource(kBitmapType, id));
}
}  // namespace

Surface* DecodeImageBytes(const std::uint8_t* first, const std::uint8_t* end) {
    if (!first || !end || end <= first || end - first > INT_MAX) return nullptr;
    QImage image = QImage::fromData(first, int(end - first));
    if (image.isNull()) return nullptr;
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return nullptr;
    Surface* surface = CreateSurface(image.width(), image.height());
    if (!surface) return nullptr;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        Pixel* out = surface->row(y);
        for (int x = 0; x < image.width(); ++x)
            out[x] = pixelFromRgb(std::uint32_t(qRed(in[x])), std::uint32_t(qGreen(in[x])),
                                  std::uint32_t(qBlue(in[x])));
    }
    return surface;
}

Surface* LoadImageResource(std::int32_t identifier, std::string_view type, const void* module) {
    (void)module;
    std::string id = std::to_string(identifier);
    if (type == kBitmapType || type == "2") return loadBitmap(id);
    std::span<const std::uint8_t> bytes = platform::findResource(type, id);
    // Not under the type asked for: the bitmap of the same identifier serves.
    if (bytes.empty()) return loadBitmap(id);
    return decode(bytes);
}

Surface* LoadGifResource(std::int32_t identifier) {
    return decode(platform::findResource("GIF", std::to_string(identifier)));
}

}  // namespace gfx
