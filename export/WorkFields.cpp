#include "export/WorkFields.h"

std::string nameFieldText(const std::string& path, int width) {
    if (width < 0) width = 0;
    if (path.size() <= std::size_t(width)) return path;
    std::size_t cut = std::size_t(width);
    // Step back over continuation bytes to the start of the character that would be split.
    while (cut > 0 && (static_cast<unsigned char>(path[cut]) & 0xC0) == 0x80) --cut;
    return path.substr(0, cut);
}
