// Runs a fuzz target's inputs once each, without the fuzzing engine, so that the
// normal test suite keeps every saved input (and every fixed crash) passing.
// Arguments name files or folders; without any, the folders built in are replayed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

namespace fs = std::filesystem;

void collect(const fs::path &path, std::vector<fs::path> &inputs)
{
    std::error_code error;
    if (fs::is_directory(path, error)) {
        std::vector<fs::path> found;
        for (const fs::directory_entry &entry : fs::recursive_directory_iterator(path, error)) {
            if (entry.is_regular_file())
                found.push_back(entry.path());
        }
        std::sort(found.begin(), found.end());
        inputs.insert(inputs.end(), found.begin(), found.end());
    } else if (fs::is_regular_file(path, error)) {
        inputs.push_back(path);
    }
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> places(argv + 1, argv + argc);
#if defined(KIVARA_REPLAY_CORPUS) && defined(KIVARA_REPLAY_REGRESSIONS)
    if (places.empty())
        places = {KIVARA_REPLAY_CORPUS, KIVARA_REPLAY_REGRESSIONS};
#endif
    std::vector<fs::path> inputs;
    for (const std::string &place : places)
        collect(place, inputs);
    // Nothing to replay means a wrong folder, not a passing test.
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs found to replay\n");
        return 1;
    }
    for (const fs::path &input : inputs) {
        std::ifstream file(input, std::ios::binary);
        const std::vector<char> content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file.good() && !file.eof()) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        std::printf("%s\n", input.c_str());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(content.data()), content.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
