#include "gfx/Surface.h"

#include <new>

#include "gfx/Rasterizer.h"

namespace gfx {

Surface::~Surface() {
    delete buffer;
}

Surface* CreateSurface(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) return nullptr;
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
