// Menu commands: their sequences, and the idle state every command returns to.
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "logic/game_clock.h"
#include "tests/support/test_support.h"

#include <algorithm>

namespace nonari {
namespace {

class CommandsTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.endWhenScriptEmpty = false;
        pf.setMainWindowHandlers({Win_0_MenuEvent, nullptr, Win_0_Close});
        game.uhr = pf.createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
        ASSERT_TRUE(buildMenuBar());
        updateMenuChecks();
        // A small board: givens in the first row, an entry and a note below.
        for (int c = 1; c <= 9; ++c) game.givens(c, 1) = game.board(c, 1) = static_cast<std::uint8_t>(c);
        game.board(1, 2) = 4;
        game.candidates(5, 5, 3) = true;
    }

    void expectIdle() {
        EXPECT_EQ(game.helpText, helpTextChooseMenu);
        EXPECT_FALSE(game.clockRunning || game.abortInput);
        EXPECT_TRUE(pf.checks[30 + game.difficulty]);
        EXPECT_EQ(std::vector({pf.checks[40], pf.checks[41], pf.checks[44], pf.checks[45]}),
                  std::vector({game.numbersMode, !game.numbersMode, game.showCandidates, game.symmetryOn}));
    }
    static int filled(const Grid& g) {
        return static_cast<int>(std::count_if(g.cell.begin(), g.cell.end(), [](auto v) { return v; }));
    }
};

TEST_F(CommandsTest, EveryCommandEndsIdleAndShowingCandidatesTwiceLosesTheNotes) {
    const Grid board = game.board;
    for (int id : {34, 41, 45, 777}) Win_0_MenuEvent(id), expectIdle();
    EXPECT_EQ(std::make_pair(int{game.difficulty}, int{game.lastCommand}), std::make_pair(4, 777));
    EXPECT_FALSE(game.symmetryOn || game.numbersMode);
    EXPECT_EQ(game.board, board);
    Win_0_MenuEvent(44);
    EXPECT_TRUE(game.showCandidates && game.candidates(5, 5, 3));
    expectIdle();
    Win_0_MenuEvent(44);
    EXPECT_FALSE(game.showCandidates);
    EXPECT_EQ(game.candidates, CandidateGrid{});
    expectIdle();

    game.clockRunning = true;
    Win_0_MenuEvent(24);  // shuffling keeps the number of givens and entries
    EXPECT_EQ(std::make_pair(filled(game.givens), filled(game.board)), std::make_pair(9, 10));
    expectIdle();
}

TEST_F(CommandsTest, ACommandDuringATimedGameStopsItsClockForGood) {
    game.clockRunning = true;
    game.startTime = currentTime();
    bool runningAfterNested = true;
    pf.pushMenu(40);
    pf.pushStep([&] { runningAfterNested = game.clockRunning; });
    pf.pushKeyUp(27);
    Win_0_MenuEvent(10);
    EXPECT_FALSE(runningAfterNested);
    expectIdle();
}

}  // namespace
}  // namespace nonari
