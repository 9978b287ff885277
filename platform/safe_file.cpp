// Replacing a file in one step: the new content is written completely before the old file goes.
#include "platform/safe_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

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

}  // namespace

bool replaceFileContents(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (path.empty()) return false;
    struct stat old {};
    bool oldExists = ::stat(path.c_str(), &old) == 0;
    if (oldExists && !S_ISREG(old.st_mode)) return false;
    // A file its owner made read-only stays protected, although the folder would allow the rename.
    if (oldExists && ::access(path.c_str(), W_OK) != 0) return false;

    std::string temporary;
    int fd = createTemporary(path, temporary);
    if (fd < 0) return false;

    bool ok = writeAll(fd, bytes);
    if (ok && oldExists) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolderOf(path);
    return true;
}

}  // namespace nonari
