// Saves killed at random moments: brett.nnr and Champions.Rhm are afterwards whole, either as before or as after.
#include "fame/champions_file.h"
#include "files/board_record.h"
#include "platform/safe_file.h"
#include "tests/support/test_support.h"

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// One of the two states the saving child alternates between: a board in record 2 and a hall of fame.
struct Saved {
    std::uint32_t seed;
    Grid board;
    ChampionTable names;

    void save() const {
        seedRandom(seed);  // the filler, so that the file's bytes are known
        game.puzzle.board = board;
        game.dialog.currentFile = savedBoardFile;
        if (writeBoardRecord(2) != FileResult::Ok) _exit(2);
        game.fame.championName = names;
        if (saveChampions() != FileResult::Ok) _exit(3);
    }
};

Saved savedState(std::uint32_t seed, int marker) {
    Saved state{seed, {}, {}};
    for (int c = 1; c <= 9; ++c) state.board(c, (c + marker) % 9 + 1) = static_cast<std::uint8_t>(c);
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p) state.names[d][p] = "Spieler " + std::to_string(marker * 1000 + d * 10 + p);
    return state;
}

using CrashConsistencyTest = test::HeadlessGame;

TEST_F(CrashConsistencyTest, SavesKilledAtRandomMomentsLeaveEveryFileWholeAsBeforeOrAsAfter) {
    resetChampions();
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p) game.fame.championTime[d][p] = "00:0" + std::to_string(p - 1) + ":00.0";
    const Saved first = savedState(11, 1), second = savedState(22, 2);
    // The files each state leaves, made once undisturbed. Only record 2 changes between them.
    first.save();
    second.save();
    const Bytes boardsSecond = test::readBytes(savedBoardFile), championsSecond = test::readBytes(championsFile);
    first.save();
    const Bytes boardsFirst = test::readBytes(savedBoardFile), championsFirst = test::readBytes(championsFile);
    ASSERT_NE(boardsFirst, boardsSecond);
    ASSERT_NE(championsFirst, championsSecond);

    std::mt19937 moments(20240601);
    // Long enough for a few saves, so that kills land before, inside and between them.
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);
    constexpr int kills = 250;
    int boardsNew = 0, championsNew = 0, leftovers = 0;
    for (int round = 0; round < kills; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                second.save();
                first.save();
            }
        }
        usleep(static_cast<useconds_t>(delayMicroseconds(moments)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saving child failed by itself";

        const Bytes boards = test::readBytes(savedBoardFile), champions = test::readBytes(championsFile);
        ASSERT_TRUE(boards == boardsFirst || boards == boardsSecond) << "brett.nnr torn in round " << round;
        ASSERT_TRUE(champions == championsFirst || champions == championsSecond)
            << "Champions.Rhm torn in round " << round;
        boardsNew += boards == boardsSecond;
        championsNew += champions == championsSecond;
        // What an interrupted save leaves behind goes at the next start.
        const auto entries = std::distance(fs::directory_iterator("."), fs::directory_iterator());
        leftovers += static_cast<int>(entries) - 2;
        removeStaleTemporaries(".", {savedBoardFile, championsFile});
        ASSERT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
    }
    std::printf("%d kills: brett.nnr %d times second state, %d first; Champions.Rhm %d second, %d first; "
                "%d leftovers removed\n",
                kills, boardsNew, kills - boardsNew, championsNew, kills - championsNew, leftovers);
}

}  // namespace
}  // namespace nonari
