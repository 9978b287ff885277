// Runs a fuzz target without libFuzzer over its saved inputs: the files named, and every file in the folders named.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) inputs.push_back(fs::absolute(argv[i]));
        else
            for (const auto& entry : fs::directory_iterator(argv[i]))
                if (entry.is_regular_file()) inputs.push_back(fs::absolute(entry.path()));
    }
    std::sort(inputs.begin(), inputs.end());
    LLVMFuzzerInitialize(&argc, &argv);  // may change the working folder: the inputs are absolute
    for (const fs::path& input : inputs) {
        std::printf("%s\n", input.filename().c_str());
        std::fflush(stdout);  // the input's name stands before whatever stops the run
        const std::vector<unsigned char> bytes = nonari::fuzz::readFile(input);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
