// Replacing a file in one step: failures leave the old file, and saves killed at random moments leave brett.nnr and
// Champions.Rhm whole, either as before or as after.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "files/board_record.h"
#include "platform/safe_file.h"
#include "tests/support/test_support.h"

#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// Saves one of the two states the saving child alternates between, told apart by marker: a board in record 2
// and a hall of fame. The marker seeds the filler too, so that the file's bytes are known.
void save(int marker) {
    seedRandom(static_cast<std::uint32_t>(marker));
    game.puzzle.board.clear();
    for (int c = 1; c <= 9; ++c) game.puzzle.board(c, (c + marker) % 9 + 1) = static_cast<std::uint8_t>(c);
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p) game.fame.championName[d][p] = std::to_string(marker * 1000 + d * 10 + p);
    game.dialog.currentFile = savedBoardFile;
    if (writeBoardRecord(2) != FileResult::Ok || saveChampions() != FileResult::Ok) _exit(2);
}

long entries() { return std::distance(fs::directory_iterator("."), fs::directory_iterator()); }

using CrashConsistencyTest = test::HeadlessGame;

TEST_F(CrashConsistencyTest, SavesKilledAtRandomMomentsLeaveEveryFileWholeAsBeforeOrAsAfter) {
    // The files each state leaves, made once undisturbed after the first save has made the other records.
    save(1);
    save(2);
    const Bytes boardsSecond = test::readBytes(savedBoardFile), championsSecond = test::readBytes(championsFile);
    save(1);
    const Bytes boardsFirst = test::readBytes(savedBoardFile), championsFirst = test::readBytes(championsFile);
    ASSERT_NE(boardsFirst, boardsSecond);
    ASSERT_NE(championsFirst, championsSecond);

    std::mt19937 moments(20240601);
    // Long enough for a few saves, so that kills land before, inside and between them.
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);
    int boardsNew = 0, leftovers = 0;
    for (int round = 0; round < 250; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (;;) save(2), save(1);
        usleep(static_cast<useconds_t>(delayMicroseconds(moments)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saving child failed by itself";

        const Bytes boards = test::readBytes(savedBoardFile), champions = test::readBytes(championsFile);
        ASSERT_TRUE(boards == boardsFirst || boards == boardsSecond) << "brett.nnr torn, " << round;
        ASSERT_TRUE(champions == championsFirst || champions == championsSecond) << "Champions.Rhm torn, " << round;
        boardsNew += boards == boardsSecond;
        // What an interrupted save leaves behind goes at the next start.
        leftovers += static_cast<int>(entries()) - 2;
        removeStaleTemporaries(".", {savedBoardFile, championsFile});
        ASSERT_EQ(entries(), 2);
    }
    std::printf("250 kills: brett.nnr %d times in the second state; %d leftovers removed\n", boardsNew, leftovers);
}

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
