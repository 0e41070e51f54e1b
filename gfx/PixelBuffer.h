// The raw pixel store under a surface: width x height RGB565 pixels, rows pitch bytes apart.
#pragma once

#include <cstdint>

#include "gfx/Pixel.h"

namespace gfx {

class PixelBuffer {
  public:
    PixelBuffer() = default;
    PixelBuffer(std::uint32_t width, std::uint32_t height, std::uint32_t pitch, Pixel* pixels,
                bool ownsPixels)
        : width(width), height(height), pitch(pitch), pixels(pixels), ownsPixels(ownsPixels) {}
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    // Frees the pixel memory only when the buffer owns it.
    virtual ~PixelBuffer();

    // Bytes per row for buffers the program allocates itself: every row starts on a 4-byte
    // boundary. Width 240 gives 480, 241 gives 484, 1 gives 4.
    static constexpr std::uint32_t pitchFor(std::uint32_t width) { return (2 * width + 3) & ~3u; }

    // A self-owned buffer with pitchFor(width); pixels not cleared. Null when memory is short.
    static PixelBuffer* create(std::uint32_t width, std::uint32_t height);

    // Rows are always stepped by pitch, never by width.
    Pixel* row(std::int32_t y) const {
        return reinterpret_cast<Pixel*>(reinterpret_cast<std::uint8_t*>(pixels) +
                                        std::uintptr_t(y) * pitch);
    }

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t pitch = 0;
    Pixel* pixels = nullptr;
    bool ownsPixels = false;
};

}  // namespace gfx
