// Replacing a file in one step: the new bytes arrive whole, or the old file stays as it was.
#include "files/safe_file.h"

#include "tests/support/test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <iterator>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using Bytes = std::vector<unsigned char>;

// Leftovers of a failed replacement would show as further entries.
long entries(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), fs::directory_iterator()); }

using SafeFileTest = test::HeadlessGame;

TEST_F(SafeFileTest, FailuresLeaveTheOldFileAndNoLeftoversSuccessReplacesItWholeKeepingItsPermissions) {
    const Bytes old(8800, 0x11), replacement(8800, 0x22);
    test::writeBytes("brett.nnr", old);
    auto expectOldKept = [&old](const fs::path& folder) {
        EXPECT_EQ(readBytes(folder / "brett.nnr"), old);
        EXPECT_EQ(entries(folder), 1);
    };
    // The disk fills (a file-size limit) half way through the new content.
    EXPECT_TRUE(test::inChildProcess([&] {
        test::limitFileSize(4000);
        return !replaceFileContents("brett.nnr", replacement);
    }));
    expectOldKept(".");

    // Without root's privileges folder and file permissions apply: a folder that cannot be written, and a
    // read-only file in a folder of the user's own that would allow the rename.
    auto failsForOrdinaryUser = [&replacement](const char* file) {
        return test::inChildProcess([&] { return test::actAsOrdinaryUser() && !replaceFileContents(file, replacement); });
    };
    fs::permissions(".", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_TRUE(failsForOrdinaryUser("brett.nnr"));
    fs::permissions(".", fs::perms::owner_write, fs::perm_options::add);
    expectOldKept(".");
    fs::create_directory("own");
    test::writeBytes("own/brett.nnr", old);
    chmod("own/brett.nnr", 0444);
    ASSERT_TRUE(geteuid() != 0 || (chown("own", 65534, 65534) == 0 && chown("own/brett.nnr", 65534, 65534) == 0));
    EXPECT_TRUE(failsForOrdinaryUser("own/brett.nnr"));
    expectOldKept("own");

    // A folder in the file's place, a folder that does not exist, no name at all.
    EXPECT_FALSE(replaceFileContents("own", replacement) || replaceFileContents("missing/brett.nnr", replacement) ||
                 replaceFileContents("", replacement));
    EXPECT_TRUE(fs::is_directory("own"));

    // A shorter content leaves nothing of the longer one; the permissions stay; an empty content is a file too.
    chmod("brett.nnr", 0640);
    EXPECT_TRUE(replaceFileContents("brett.nnr", Bytes(300, 0x33)));
    EXPECT_EQ(readBytes("brett.nnr"), Bytes(300, 0x33));
    EXPECT_EQ(fs::status("brett.nnr").permissions(), static_cast<fs::perms>(0640));
    EXPECT_TRUE(replaceFileContents("empty.bin", {}));
    EXPECT_EQ(fs::file_size("empty.bin"), 0u);
    EXPECT_EQ(entries("."), 3);
}

}  // namespace
}  // namespace nonari
