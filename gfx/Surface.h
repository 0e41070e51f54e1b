// A drawable RGB565 image: its pixel buffer and the colour key blits from it leave out.
#pragma once

#include <cstdint>

#include "gfx/PixelBuffer.h"

namespace gfx {

class Surface {
  public:
    Surface() = default;
    explicit Surface(PixelBuffer* buffer) : buffer(buffer) {}
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    // Destroys the buffer through its virtual destructor.
    ~Surface();

    std::int32_t width() const { return std::int32_t(buffer->width); }
    std::int32_t height() const { return std::int32_t(buffer->height); }
    std::uint32_t pitch() const { return buffer->pitch; }
    Pixel* row(std::int32_t y) const { return buffer->row(y); }
    Pixel pixel(std::int32_t x, std::int32_t y) const { return buffer->row(y)[x]; }

    // Owned; null only for a surface whose pixel memory could not be had.
    PixelBuffer* buffer = nullptr;
    // -1: none. Otherwise its low 16 bits are the pixel that blits from this surface skip.
    // The application writes it directly after loading an image.
    std::int32_t colourKey = -1;
};

// A new surface of width x height, pixels not cleared, colour key -1. Null when memory is short.
Surface* CreateSurface(std::int32_t width, std::int32_t height);
// A surface over an existing buffer, which it then owns; colour key -1.
Surface WrapBuffer(PixelBuffer* buffer);
// A copy of source made with the ordinary blit (a key on source is honoured); colour key -1.
// Null when memory is short or source has no pixels.
Surface* CloneSurface(const Surface* source);
// Frees a surface made by CreateSurface, CloneSurface or the image loader, buffer and record.
// Null is accepted.
void DestroySurface(Surface* surface);

}  // namespace gfx
