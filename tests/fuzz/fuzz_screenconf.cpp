// sulcovane.conf as a user's editor or another program may leave it: any bytes. Reading the
// palette must give one of the three choices, and so must reading it again after a choice was
// written into whatever was there.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ScreenConf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/fuzz-screenconf-" + std::to_string(getpid()) + ".conf";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    const PaletteChoice read = readPaletteChoice(path);
    if (read != PaletteChoice::Day && read != PaletteChoice::Night &&
        read != PaletteChoice::Automatic)
        std::abort();
    const auto next = PaletteChoice((int(read) + 1) % 3);
    writePaletteChoice(path, next);
    const PaletteChoice back = readPaletteChoice(path);
    if (back != PaletteChoice::Day && back != PaletteChoice::Night &&
        back != PaletteChoice::Automatic)
        std::abort();
    std::remove(path.c_str());
    return 0;
}
