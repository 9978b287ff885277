// Menu commands: their sequences, and the idle state every command returns to.
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "files/board_record.h"
#include "logic/game_clock.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <filesystem>

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
    static int filled(const Grid& g) { return static_cast<int>(std::count_if(g.cell.begin(), g.cell.end(), [](auto v) { return v; })); }
};

TEST_F(CommandsTest, SettingCommandsChangeOnlyTheirSettingAndShowingCandidatesTwiceLosesTheNotes) {
    const Grid board = game.board;
    for (int id = 30; id <= 34; ++id) {
        Win_0_MenuEvent(id);
        EXPECT_EQ(std::make_pair(int{game.difficulty}, int{game.lastCommand}), std::make_pair(id - 30, id));
        expectIdle();
    }
    Win_0_MenuEvent(45);
    Win_0_MenuEvent(41);
    EXPECT_FALSE(game.symmetryOn || game.numbersMode);
    expectIdle();
    Win_0_MenuEvent(40);
    EXPECT_TRUE(game.numbersMode);
    EXPECT_EQ(game.board, board);
    EXPECT_TRUE(game.candidates(5, 5, 3));

    Win_0_MenuEvent(44);
    EXPECT_TRUE(game.showCandidates);
    expectIdle();
    Win_0_MenuEvent(44);
    EXPECT_FALSE(game.showCandidates);
    EXPECT_EQ(game.candidates, CandidateGrid{});
    expectIdle();
}

TEST_F(CommandsTest, UnknownShuffleAndClearCommands) {
    game.clockRunning = true;
    Win_0_MenuEvent(777);
    EXPECT_EQ(std::make_pair(int{game.lastCommand}, int{game.board(1, 2)}), std::make_pair(777, 4));
    expectIdle();
    Win_0_MenuEvent(24);  // shuffling keeps the number of givens and entries
    EXPECT_EQ(std::make_pair(filled(game.givens), filled(game.board)), std::make_pair(9, 10));
    expectIdle();
    Win_0_MenuEvent(26);
    EXPECT_EQ(std::tie(game.board, game.givens), std::make_tuple(Grid{}, Grid{}));
    EXPECT_EQ(game.candidates, CandidateGrid{});
    expectIdle();
}

TEST_F(CommandsTest, EndingAnsweredNoChangesNothing) {
    const Grid board = game.board;
    pf.messageBoxAnswers = {2};
    Win_0_MenuEvent(99);
    EXPECT_EQ(pf.messages, std::vector<std::string>{"Spiel beenden?"});
    EXPECT_FALSE(pf.appEnding());
    EXPECT_EQ(game.board, board);
    expectIdle();
}

TEST_F(CommandsTest, NewGameReadsAFirstRecordOfTheCollectionAndTimesIt) {
    // A collection whose four records are told apart by their given in cell (1, 1).
    std::vector<unsigned char> bytes(4 * boardRecordSize, 0);
    for (std::size_t record = 0; record < 4; ++record) {
        auto at = bytes.begin() + static_cast<std::ptrdiff_t>(record * boardRecordSize);
        at[11] = at[111] = static_cast<unsigned char>(record + 1);
        std::fill(at + 1200, at + boardRecordSize, 5);
    }
    test::writeBytes("mittel.nnr", bytes);
    Win_0_MenuEvent(31);
    bool sawClock = false;
    pf.pushStep([&] {
        sawClock = game.clockRunning;
        EXPECT_EQ(game.finalTime + game.currentFile, "Xmittel.nnr");
        EXPECT_EQ(game.helpText, helpTextClickCell);
    });
    pf.pushKeyUp(27);  // Abbruch
    Win_0_MenuEvent(8);
    EXPECT_TRUE(sawClock);
    EXPECT_EQ(filled(game.givens), 1);
    EXPECT_EQ(pf.labelText(game.uhr), idleClockText);
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
