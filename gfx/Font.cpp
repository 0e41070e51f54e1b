#include "gfx/Font.h"

#include <cstring>
#include <new>

#include "platform/Resources.h"

namespace gfx {

Font* CreateFont(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != std::size_t(Font::kSize)) return nullptr;
    auto* font = new (std::nothrow) Font;
    if (font) std::memcpy(font->glyphs, bytes.data(), bytes.size());
    return font;
}

Font* CreateLargeFont(std::span<const std::uint8_t> bytes, int width, int height) {
    if (width < 9 || width > 16 || height < 1 || height > 64) return nullptr;
    if (bytes.size() != std::size_t(Font::kGlyphCount) * 2 * std::size_t(height)) return nullptr;
    auto* font = new (std::nothrow) Font;
    if (!font) return nullptr;
    font->width = width;
    font->height = height;
    font->large.assign(bytes.begin(), bytes.end());
    return font;
}

Font* LoadFontResource() {
    return CreateFont(platform::findResource("FONTS", "155"));
}

void DestroyFont(Font* font) {
    delete font;
}

}  // namespace gfx
