#include "gfx/PixelBuffer.h"

#include <new>

namespace gfx {

PixelBuffer::~PixelBuffer() {
    if (ownsPixels) delete[] pixels;
}

PixelBuffer* PixelBuffer::create(std::uint32_t width, std::uint32_t height) {
    std::uint32_t pitch = pitchFor(width);
    std::size_t pixelCount = std::size_t(pitch / 2) * height;
    // The pixel memory comes first; when the record cannot be had it is given back.
    Pixel* pixels = new (std::nothrow) Pixel[pixelCount > 0 ? pixelCount : 1];
    if (!pixels) return nullptr;
    auto* buffer = new (std::nothrow) PixelBuffer(width, height, pitch, pixels, true);
    if (!buffer) delete[] pixels;
    return buffer;
}

}  // namespace gfx
