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

Font* LoadFontResource() {
    return CreateFont(platform::findResource("FONTS", "155"));
}

void DestroyFont(Font* font) {
    delete font;
}

}  // namespace gfx
