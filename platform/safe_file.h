// The game's own files on disk: replacing one in one step, reading only regular files, clearing leftovers.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nonari {

// What became of a file operation. Damaged: the file is there but cannot be used (not a regular
// file, unreadable, too long, or holding no usable content); such a file is never replaced.
enum class [[nodiscard]] FileResult { Ok, Missing, Damaged, NotWritten };

// Writes bytes to a temporary file beside path ("<path>.tmp<pid>-<n>"), then renames it over path.
// On any failure the old file stays as it was and NotWritten is returned.
FileResult replaceFileContents(const std::string& path, const std::vector<unsigned char>& bytes);

struct FileRead {
    FileResult result = FileResult::Missing;
    std::vector<unsigned char> bytes;  // what was read; empty unless Ok
    std::uint64_t size = 0;            // the whole file's length
};

// Reads at most maxBytes from offset on. Only a regular file is read: a folder, a pipe or a device
// is Damaged, and opening one never blocks. Reading stops at maxBytes whatever the file's length.
[[nodiscard]] FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::uint64_t offset = 0);

// Removes "<name>.tmp<pid>-<n>" in folder for each of names whose writing process is gone: the
// leftovers of saves that were interrupted. Call it before the program writes any file itself.
void removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& names);

}  // namespace nonari
