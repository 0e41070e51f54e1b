// The review reader against arbitrary work files: the input is cut into the .shp, .shx and
// .dbf files at each "\n%%FILE%%\n", which are written to a scratch folder and loaded.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/AppState.h"
#include "export/ShapefileReview.h"
#include "guidance/Projection.h"

namespace {

std::string scratchBase;

void writeFile(const std::string& path, std::string_view bytes) {
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/sulco-fuzz-review-XXXXXX";
    if (!mkdtemp(folder)) std::abort();
    scratchBase = std::string(folder) + "/work";
    setUpProjection(appState.projection);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kSeparator = "\n%%FILE%%\n";
    const char* extensions[] = {".shp", ".shx", ".dbf"};
    for (const char* extension : extensions) {
        auto cut = input.find(kSeparator);
        writeFile(scratchBase + extension, input.substr(0, cut));
        input = cut == std::string_view::npos ? std::string_view()
                                              : input.substr(cut + kSeparator.size());
    }
    std::string path = scratchBase + ".shp";
    readShapefileForReview(path, appState.projection, appState.work, appState.review);
    if (appState.review.positions.size() != appState.review.headings.size() ||
        appState.review.positions.size() != appState.review.edges.size())
        std::abort();
    appState.review.positions.clear();
    appState.review.headings.clear();
    appState.review.edges.clear();
    return 0;
}
