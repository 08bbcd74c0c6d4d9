// Runs a fuzz target's entry point over every file of the folders and files named on the
// command line, with the normal compiler and no fuzzing engine: the test command builds and
// runs each target over its seed corpus this way, so that a target which stops building or
// crashes on its own seeds is noticed at once. Fails when it is given no input at all.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsOf(const char* argument) {
    std::vector<std::filesystem::path> inputs;
    const std::filesystem::path given(argument);
    std::error_code error;
    if (std::filesystem::is_directory(given, error)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(given, error))
            if (entry.is_regular_file(error))
                inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
    } else if (std::filesystem::is_regular_file(given, error)) {
        inputs.push_back(given);
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i)
        for (const std::filesystem::path& path : inputsOf(argv[i])) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++replayed;
        }
    std::printf("%zu inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
