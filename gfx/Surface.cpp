#include "gfx/Surface.h"

#include <climits>
#include <cstdint>
#include <new>

#include "gfx/Rasterizer.h"

namespace gfx {

Surface::~Surface() {
    delete buffer;
}

Surface* CreateSurface(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) return nullptr;
    // The pitch must fit its 32 bits and the whole buffer the signed 32-bit byte offsets that
    // rows and pixels are reached by; past that a pitch wraps to a few bytes and the first clear
    // writes far beyond the allocation.
    std::uint64_t pitch = (2 * std::uint64_t(width) + 3) & ~std::uint64_t(3);
    if (pitch > UINT32_MAX || pitch * std::uint64_t(height) > std::uint64_t(INT32_MAX))
        return nullptr;
    auto* surface = new (std::nothrow) Surface;
    if (!surface) return nullptr;
    surface->buffer = PixelBuffer::create(std::uint32_t(width), std::uint32_t(height));
    // A surface without pixels would be of no use to anyone: report it as a failure.
    if (!surface->buffer) {
        delete surface;
        return nullptr;
    }
    return surface;
}

Surface WrapBuffer(PixelBuffer* buffer) {
    return Surface(buffer);
}

Surface* CloneSurface(const Surface* source) {
    if (!source || !source->buffer) return nullptr;
    Surface* copy = CreateSurface(source->width(), source->height());
    if (!copy) return nullptr;
    Rasterizer painter(copy);
    painter.Blit(0, 0, source);
    return copy;
}

void DestroySurface(Surface* surface) {
    delete surface;
}

}  // namespace gfx
