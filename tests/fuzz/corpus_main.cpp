// Without libFuzzer (every build but scripts/fuzz.sh's): runs a harness once
// over every file of the folders and files named on the command line, so that
// its corpus keeps being checked in the ordinary and sanitized suites.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

void runFile(const std::filesystem::path& path, int& inputs)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++inputs;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        if (!std::filesystem::is_directory(path)) {
            runFile(path, inputs);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(path))
            if (entry.is_regular_file())
                runFile(entry.path(), inputs);
    }
    std::printf("%d inputs, none failed\n", inputs);
    // A corpus that is not there checks nothing.
    return inputs > 0 ? 0 : 1;
}
