// The game's own files on disk: replacing one in one step, reading only regular files, clearing leftovers.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/safe_file.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <thread>

namespace nonari {

namespace {

std::atomic<unsigned> temporaryCounter{0};

// Creates a new file beside path that no one else uses; -1 on failure.
int createTemporary(const std::string& path, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(temporaryCounter++);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool writeAll(int fd, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Makes the rename itself survive a crash; a folder that cannot be synced is no reason to fail.
void syncFolderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool refusedByFolder(int error) { return error == EACCES || error == EPERM || error == EROFS; }

}  // namespace

std::string saveTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return {};
    std::string target = resolved;
    std::free(resolved);
    return target;
}

FileResult replaceFileContents(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (path.empty()) return FileResult::NotWritten;
    // Players keep these files in synchronised folders through links: the link must stay and its file change.
    const std::string target = saveTarget(path);
    if (target.empty()) return errno == ENOENT || errno == ENOTDIR ? FileResult::Missing : FileResult::NotWritten;
    struct stat old {};
    bool oldExists = ::stat(target.c_str(), &old) == 0;
    if (oldExists && !S_ISREG(old.st_mode)) return FileResult::NotWritten;
    // A file its owner made read-only stays protected, although the folder would allow the rename.
    if (oldExists && ::access(target.c_str(), W_OK) != 0) return FileResult::NotWritten;

    std::string temporary;
    int fd = createTemporary(target, temporary);
    if (fd < 0) return refusedByFolder(errno) ? FileResult::ReadOnly : FileResult::NotWritten;

    bool ok = writeAll(fd, bytes);
    if (ok && oldExists) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return FileResult::NotWritten;
    }
    syncFolderOf(target);
    return FileResult::Ok;
}

SaveLock::SaveLock(int waitMilliseconds) {
    // Never through a link, and never a pipe that an open could wait on.
    fd = ::open(saveLockFile, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        state = refusedByFolder(errno) ? FileResult::ReadOnly : FileResult::NotWritten;
        return;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        fd = -1;
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            state = FileResult::Ok;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (Clock::now() >= deadline) {
            state = FileResult::Busy;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::close(fd);
    fd = -1;
}

SaveLock::~SaveLock() {
    if (fd >= 0) ::close(fd);  // closing releases the lock
}

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::uint64_t offset) {
    FileRead read;
    // Looked at before it is opened: opening a device may do something, opening a pipe may wait.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        read.result = errno == ENOENT || errno == ENOTDIR ? FileResult::Missing : FileResult::Damaged;
        return read;
    }
    read.result = FileResult::Damaged;
    if (!S_ISREG(before.st_mode)) return read;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return read;
    struct stat opened {};
    // It may have been swapped for something else in between.
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return read;
    }
    read.size = static_cast<std::uint64_t>(opened.st_size);
    std::uint64_t available = offset < read.size ? read.size - offset : 0;
    read.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(available, maxBytes)));
    std::size_t done = 0;
    while (done < read.bytes.size()) {
        ssize_t got = ::pread(fd, read.bytes.data() + done, read.bytes.size() - done,
                              static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(fd);
            read.bytes.clear();
            return read;
        }
        if (got == 0) break;  // it shrank meanwhile
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    read.bytes.resize(done);
    read.result = FileResult::Ok;
    return read;
}

void removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& names) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, error)) {
        const std::string file = entry.path().filename().string();
        for (const std::string& name : names) {
            const std::string prefix = name + ".tmp";
            if (name.empty() || !file.starts_with(prefix)) continue;
            // Exactly "<pid>-<n>", both decimal: anything else is not ours.
            const char* first = file.data() + prefix.size();
            const char* last = file.data() + file.size();
            int pid = 0;
            unsigned long long counter = 0;
            auto [afterPid, pidError] = std::from_chars(first, last, pid);
            if (pidError != std::errc() || afterPid == first || pid <= 0 || afterPid == last || *afterPid != '-')
                continue;
            auto [end, counterError] = std::from_chars(afterPid + 1, last, counter);
            if (counterError != std::errc() || end == afterPid + 1 || end != last) continue;
            std::error_code statusError;
            if (!std::filesystem::is_regular_file(entry.symlink_status(statusError))) continue;
            // Before the program's first save none of its own temporaries can be in use.
            const bool writerGone = pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH);
            if (writerGone) ::unlink(entry.path().c_str());
        }
    }
    // A save through a link leaves its leftover beside the linked file.
    for (const std::string& name : names) {
        const std::filesystem::path link = std::filesystem::path(folder.empty() ? "." : folder) / name;
        const std::filesystem::path target = saveTarget(link);
        if (!target.empty() && target != link)
            removeStaleTemporaries(target.parent_path().string(), {target.filename().string()});
    }
}

}  // namespace nonari
