// Replays a fuzz target over saved inputs: every file of the folders (or the files) named on
// the command line, so that the seed corpus and past findings run in every test run.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

bool RunFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    std::fprintf(stderr, "running %s\n", path.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

// The regular files under a folder, sorted so that runs are repeatable; a file stands for itself.
std::vector<fs::path> InputsOf(const fs::path& argument) {
    std::vector<fs::path> inputs;
    std::error_code error;
    if (!fs::is_directory(argument, error)) {
        inputs.push_back(argument);
        return inputs;
    }
    for (const auto& entry : fs::recursive_directory_iterator(argument, error))
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& input : InputsOf(argv[i])) {
            if (!RunFile(input))
                return 1;
            ++count;
        }
    }
    if (count == 0) {
        std::fprintf(stderr, "usage: %s folder-or-file...; no input found\n", argv[0]);
        return 1;
    }
    std::printf("%zu inputs passed\n", count);
    return 0;
}
