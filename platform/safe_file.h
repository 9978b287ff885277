// The game's own files on disk: replacing one in one step, reading only regular files, the saves' lock, clearing leftovers.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nonari {

// What became of a file operation. Damaged: the file is there but cannot be used (not a regular
// file, unreadable, too long, or holding no usable content); such a file is never replaced.
// Saves only: Missing, the file is a symbolic link that points nowhere; Busy, another game held the
// folder's lock for the whole wait; ReadOnly, the folder takes no new file.
enum class [[nodiscard]] FileResult { Ok, Missing, Damaged, NotWritten, Busy, ReadOnly };

// Where a save of path lands: the file a symbolic link points to, followed to its end, else path itself.
// Empty when path is a link that cannot be followed; errno then says why (ENOENT: it points nowhere).
std::string saveTarget(const std::string& path);

// Writes bytes to a temporary file beside the save target ("<name>.tmp<pid>-<n>"), then renames it over
// the target: a link stays a link and its file is replaced in its own folder; a hard link is split.
// On any failure the old file stays as it was.
FileResult replaceFileContents(const std::string& path, const std::vector<unsigned char>& bytes);

// The file in the working folder whose lock every save takes.
inline constexpr const char* saveLockFile = "nonari.lock";
// How long a save waits for another game's lock; tests shorten it.
inline int saveLockWaitMilliseconds = 5000;

// An advisory lock (flock) on the saves into the working folder, held while the object lives: two games
// in one player's folder then each read, change and write a file in turn, and no change is lost.
class SaveLock {
public:
    SaveLock() : SaveLock(saveLockWaitMilliseconds) {}
    explicit SaveLock(int waitMilliseconds);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    // Ok when held; Busy when another kept it for the whole wait; ReadOnly or NotWritten when the lock file
    // cannot be opened.
    FileResult result() const { return state; }

private:
    int fd = -1;
    FileResult state = FileResult::NotWritten;
};

struct FileRead {
    FileResult result = FileResult::Missing;
    std::vector<unsigned char> bytes;  // what was read; empty unless Ok
    std::uint64_t size = 0;            // the whole file's length
};

// Reads at most maxBytes from offset on. Only a regular file is read: a folder, a pipe or a device
// is Damaged, and opening one never blocks. Reading stops at maxBytes whatever the file's length.
[[nodiscard]] FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::uint64_t offset = 0);

// Removes "<name>.tmp<pid>-<n>" in folder for each of names whose writing process is gone: the
// leftovers of saves that were interrupted, and those beside the files that names link to. Call it
// before the program writes any file itself.
void removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& names);

}  // namespace nonari
