// Replacing a file in one step: failures leave the old file, saves killed at random moments leave brett.nnr and
// Champions.Rhm whole, either as before or as after, and two games saving into one folder at the same moment lose
// nothing of each other's.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
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
    save(1), save(2);
    const Bytes boardsSecond = test::readBytes(savedBoardFile), championsSecond = test::readBytes(championsFile);
    save(1);
    const Bytes boardsFirst = test::readBytes(savedBoardFile), championsFirst = test::readBytes(championsFile);
    ASSERT_TRUE(boardsFirst != boardsSecond && championsFirst != championsSecond);
    std::mt19937 moments(20240601);
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);  // kills before, inside and between a few saves
    int boardsNew = 0;
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
        // What an interrupted save leaves behind goes at the next start: the two files and the saves' lock stay.
        removeStaleTemporaries(".", {savedBoardFile, championsFile});
        ASSERT_EQ(entries(), 3);
    }
    std::printf("250 kills: brett.nnr %d times in the second state\n", boardsNew);
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
    EXPECT_TRUE(test::readBytes("brett.nnr") == old && entries() == 1);
    // A shorter content leaves nothing of the longer one, and the permissions stay.
    chmod("brett.nnr", 0640);
    EXPECT_EQ(replaceFileContents("brett.nnr", Bytes(300, 0x33)), FileResult::Ok);
    EXPECT_TRUE(test::readBytes("brett.nnr") == Bytes(300, 0x33) && entries() == 1);
    EXPECT_EQ(fs::status("brett.nnr").permissions(), static_cast<fs::perms>(0640));
}

// One game of two in the same folder: round after round it saves a board into its own slot and wins a record in its
// own list, each time first making sure that its last board and record are still there. False at the first loss.
Grid boardOf(int round) {
    Grid board;
    std::tie(board(1, 1), board(2, 1), board(3, 1)) =
        std::tuple(std::uint8_t(round % 9 + 1), std::uint8_t(round / 9 % 9 + 1), std::uint8_t(round / 81 + 1));
    return board;
}

bool playAlongside(int me, int rounds, int startSignal) {
    char go = 0;
    if (read(startSignal, &go, 1) != 1) return false;
    auto time = [rounds](int round) {  // each round faster: the newest record is always place 1
        const int s = rounds - round;
        return "00:0" + std::to_string(s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60) + ".0";
    };
    game.settings.difficulty = static_cast<std::int16_t>(me);
    game.dialog.currentFile = savedBoardFile;
    HeadlessPlatform& pf = static_cast<HeadlessPlatform&>(platform());
    for (int round = 0; round < rounds; ++round) {
        if (round > 0 && (readBoardRecord(static_cast<std::int16_t>(me)) != FileResult::Ok ||
                          game.puzzle.board != boardOf(round - 1)))
            return std::printf("game %d: board of round %d lost\n", me, round - 1), false;
        if (round > 0 && (loadChampions() != FileResult::Ok || game.fame.championTime[me][1] != time(round - 1)))
            return std::printf("game %d: record of round %d lost\n", me, round - 1), false;
        game.puzzle.board = boardOf(round);
        if (writeBoardRecord(static_cast<std::int16_t>(me)) != FileResult::Ok) return false;
        pf.pushStep([&pf, me] { pf.findForm("champ")->texts["ed1"] = "Spiel " + std::to_string(me); });
        pf.pushFormEvent("champ", "cmd5_Click");
        pf.pushFormEvent("ruhm", "cmd3_Click");
        game.clock.finalTime = time(round);
        checkForRecord();
        if (!pf.messages.empty()) return false;
    }
    return true;
}

TEST_F(CrashConsistencyTest, TwoGamesInOneFolderSavingAndWinningAtTheSameMomentLoseNothing) {
    constexpr int rounds = 100;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t games[2];
    for (int me = 0; me < 2; ++me) {
        games[me] = fork();
        ASSERT_GE(games[me], 0);
        if (games[me] == 0) _exit(playAlongside(me, rounds, start[0]) ? 0 : 1);
    }
    ASSERT_EQ(write(start[1], "go", 2), 2);  // both at once
    for (pid_t child : games) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Each game's last board and its ten newest records, all of them.
    ASSERT_EQ(loadChampions(), FileResult::Ok);
    for (int me = 0; me < 2; ++me) {
        game.dialog.currentFile = savedBoardFile;
        ASSERT_EQ(readBoardRecord(static_cast<std::int16_t>(me)), FileResult::Ok);
        EXPECT_EQ(game.puzzle.board, boardOf(rounds - 1));
        EXPECT_EQ(std::count(game.fame.championName[me].begin() + 1, game.fame.championName[me].end(),
                             "Spiel " + std::to_string(me)), 10);
    }
    // A game that keeps the lock too long: the save is refused with a question to try again, and nothing is lost.
    const auto before = test::readBytes(savedBoardFile);
    game.puzzle.board(5, 5) = 5;
    saveLockWaitMilliseconds = 20;
    auto other = std::make_unique<SaveLock>();
    pf.messageBoxAnswers = {1, 2};  // JA, then NEIN
    pf.pushFormEvent("frm1", "opt3_Click");
    openSaveDialog();
    EXPECT_TRUE(pf.messages.size() == 2 && pf.messages[1].find("Ein anderes Nonari sichert gerade") != std::string::npos);
    EXPECT_EQ(test::readBytes(savedBoardFile), before);
    other.reset();
    EXPECT_EQ(writeBoardRecord(2), FileResult::Ok) << "the lock is given back";
}

}  // namespace
}  // namespace nonari
