// What the fuzz targets share: a working folder of their own, files in and out, a check that stops on a broken promise.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace nonari::fuzz {

// A broken promise is a finding: libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : (std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition), std::abort()))

// Makes a fresh folder the working folder for the whole run; it is removed at exit.
inline void enterOwnFolder() {
    static std::string folder = (std::filesystem::temp_directory_path() / "nonari-fuzz-XXXXXX").string();
    FUZZ_CHECK(mkdtemp(folder.data()) != nullptr);
    std::filesystem::current_path(folder);
    std::atexit([] {  // nothing may throw at exit
        std::error_code ignored;
        std::filesystem::current_path("/", ignored), std::filesystem::remove_all(folder, ignored);
    });
}

inline void writeFile(const std::string& name, const unsigned char* data, std::size_t size) {
    FUZZ_CHECK(std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size)));
}

inline std::vector<unsigned char> readFile(const std::filesystem::path& name) {
    std::ifstream in(name, std::ios::binary);
    FUZZ_CHECK(in.is_open());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace nonari::fuzz
