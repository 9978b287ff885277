// Replacing a file in one step: the new bytes arrive whole, or the old file stays as it was.
#include "files/safe_file.h"

#include "tests/support/test_support.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using test::HeadlessGame;
using test::readBytes;
using test::writeBytes;

// Runs body in a child process (for limits and identities that must not touch the test
// process); the child's verdict is its exit code.
bool inChild(const std::function<bool()>& body) {
    pid_t child = fork();
    if (child == 0) _exit(body() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Ignored SIGXFSZ turns a write past the limit into an ordinary error.
void limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// Without root's privileges folder permissions apply; nobody cannot write a folder of root's.
void actAsOrdinaryUser() {
    if (geteuid() == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    }
}

std::vector<unsigned char> pattern(std::size_t size, int seed) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>((i * 31 + static_cast<std::size_t>(seed)) % 251);
    return bytes;
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using SafeFileTest = HeadlessGame;

TEST_F(SafeFileTest, ReplacesOrCreatesTheWholeFile) {
    const auto first = pattern(8800, 1);
    EXPECT_TRUE(replaceFileContents("brett.nnr", first));
    EXPECT_EQ(readBytes("brett.nnr"), first);

    // A shorter content leaves nothing of the longer one behind; the file keeps its permissions.
    chmod("brett.nnr", 0640);
    const auto second = pattern(300, 2);
    EXPECT_TRUE(replaceFileContents("brett.nnr", second));
    EXPECT_EQ(readBytes("brett.nnr"), second);
    struct stat info {};
    ASSERT_EQ(stat("brett.nnr", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    EXPECT_TRUE(replaceFileContents((work->path() / "empty.bin").string(), {}));
    EXPECT_EQ(fs::file_size(work->path() / "empty.bin"), 0u);
    EXPECT_EQ(folderEntries(work->path()), (std::vector<std::string>{"brett.nnr", "empty.bin"}));
}

TEST_F(SafeFileTest, FailuresLeaveTheOldFileAndNoLeftovers) {
    const auto old = pattern(8800, 3);
    writeBytes("brett.nnr", old);
    const auto replacement = pattern(8800, 4);

    // The disk is full (a file-size limit) half way through the new content.
    EXPECT_TRUE(inChild([&] {
        limitFileSize(4000);
        return !replaceFileContents("brett.nnr", replacement);
    }));
    EXPECT_EQ(readBytes("brett.nnr"), old);
    EXPECT_EQ(folderEntries(work->path()), std::vector<std::string>{"brett.nnr"});

    // The folder cannot be written.
    fs::permissions(work->path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(inChild([&] {
        actAsOrdinaryUser();
        return !replaceFileContents((work->path() / "brett.nnr").string(), replacement);
    }));
    fs::permissions(work->path(), fs::perms::owner_all);
    EXPECT_EQ(readBytes("brett.nnr"), old);
    EXPECT_EQ(folderEntries(work->path()), std::vector<std::string>{"brett.nnr"});

    // A file made read-only in a folder that allows the rename.
    fs::create_directory("own");
    writeBytes("own/brett.nnr", old);
    chmod("own/brett.nnr", 0444);
    if (geteuid() == 0) {
        ASSERT_EQ(chown("own", 65534, 65534), 0);
        ASSERT_EQ(chown("own/brett.nnr", 65534, 65534), 0);
    }
    EXPECT_TRUE(inChild([&] {
        actAsOrdinaryUser();
        return !replaceFileContents((work->path() / "own/brett.nnr").string(), replacement);
    }));
    EXPECT_EQ(readBytes("own/brett.nnr"), old);
    EXPECT_EQ(folderEntries(work->path() / "own"), std::vector<std::string>{"brett.nnr"});
    fs::remove_all("own");

    // A folder in the file's place, a folder that does not exist, no name at all.
    fs::create_directory("taken");
    EXPECT_FALSE(replaceFileContents("taken", replacement));
    EXPECT_TRUE(fs::is_directory("taken"));
    EXPECT_FALSE(replaceFileContents("missing/brett.nnr", replacement));
    EXPECT_FALSE(replaceFileContents("", replacement));
    EXPECT_EQ(folderEntries(work->path()), (std::vector<std::string>{"brett.nnr", "taken"}));
}

}  // namespace
}  // namespace nonari
