// Turns the program's pictures (bitmaps and GIF images found among its resources) into new
// RGB565 surfaces. Every failure gives null; every loaded surface has colour key -1.
#pragma once

#include <cstdint>
#include <string_view>

#include "gfx/Surface.h"

namespace gfx {

// The resource type of plain bitmaps, as "RT_BITMAP" on the handheld; "2" means the same.
inline constexpr std::string_view kBitmapType = "BITMAP";

// Looks the identifier up under type; when it is not there (the program asks for "image",
// which its resources do not contain), falls back to the bitmap of that identifier. The
// module is accepted for the handheld's signature and ignored: there is only the program.
Surface* LoadImageResource(std::int32_t identifier, std::string_view type = "image",
                           const void* module = nullptr);
// The GIF picture of that identifier.
Surface* LoadGifResource(std::int32_t identifier);
// Decodes a whole BMP or GIF image held in memory [first, end).
Surface* DecodeImageBytes(const std::uint8_t* first, const std::uint8_t* end);

}  // namespace gfx
