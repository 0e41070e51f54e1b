// Names from the farm book (UTF-8, as any GIS program writes them) in the code page of the screen's
// bitmap font: code page 437 for English, Spanish and German, 866 for Russian. A letter the font
// has no glyph for shows as '?'.
#pragma once

#include <string>

std::string inFontCodePage(const std::string& utf8);
