// Replacing a file in one step: the new bytes arrive whole, or the old file stays as it was.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/safe_file.h"

#include "tests/support/test_support.h"

#include <sys/stat.h>
#include <unistd.h>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// Leftovers of a failed replacement would show as further entries.
long entries() { return std::distance(fs::directory_iterator("."), fs::directory_iterator()); }

using SafeFileTest = test::HeadlessGame;

TEST_F(SafeFileTest, FailuresLeaveTheOldFileAndNoLeftoversSuccessReplacesItWhole) {
    const Bytes old(8800, 0x11), replacement(8800, 0x22);
    test::writeBytes("brett.nnr", old);
    // A read-only file of the user's own, in a folder of the user's own that would allow the rename.
    chmod("brett.nnr", 0444);
    ASSERT_TRUE(geteuid() != 0 || (chown(".", 65534, 65534) == 0 && chown("brett.nnr", 65534, 65534) == 0));
    EXPECT_TRUE(test::inChildProcess([&] {
        return test::actAsOrdinaryUser() && replaceFileContents("brett.nnr", replacement) == FileResult::NotWritten;
    }));
    for (const char* path : {"missing/brett.nnr", ""})
        EXPECT_EQ(replaceFileContents(path, replacement), FileResult::NotWritten) << path;
    EXPECT_EQ(test::readBytes("brett.nnr"), old);
    EXPECT_EQ(entries(), 1);

    // A shorter content leaves nothing of the longer one, and the permissions stay.
    chmod("brett.nnr", 0640);
    EXPECT_EQ(replaceFileContents("brett.nnr", Bytes(300, 0x33)), FileResult::Ok);
    EXPECT_EQ(test::readBytes("brett.nnr"), Bytes(300, 0x33));
    EXPECT_EQ(fs::status("brett.nnr").permissions(), static_cast<fs::perms>(0640));
    EXPECT_EQ(entries(), 1);
}

}  // namespace
}  // namespace nonari
