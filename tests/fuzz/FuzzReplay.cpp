// The entry point of a fuzz target without libFuzzer: every input named on the command line (a
// file, or every file of a folder) goes once through LLVMFuzzerTestOneInput, as the fuzzer
// would run it. A target that finds an input wrong aborts, and so fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Only some targets set themselves up before their first input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

bool replay(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    // A buffer of exactly the input's size, as libFuzzer hands it over, so that a sanitizer
    // build sees a read past its end.
    auto data = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        if (!fs::is_directory(path)) {
            inputs.push_back(path);
            continue;
        }
        std::vector<fs::path> folder;
        for (const auto& entry : fs::directory_iterator(path))
            if (entry.is_regular_file()) folder.push_back(entry.path());
        std::sort(folder.begin(), folder.end());
        inputs.insert(inputs.end(), folder.begin(), folder.end());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const fs::path& path : inputs) {
        std::printf("replaying %s\n", path.c_str());
        std::fflush(stdout);
        if (!replay(path)) return 1;
    }
    std::printf("inputs replayed: %zu\n", inputs.size());
    return 0;
}
