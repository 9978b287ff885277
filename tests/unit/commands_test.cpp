// Menu commands: their sequences, and the idle state every command returns to.
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "files/board_record.h"
#include "logic/game_clock.h"
#include "tests/support/test_support.h"

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
    }

    void expectIdle() {
        EXPECT_EQ(game.helpText, helpTextChooseMenu);
        EXPECT_FALSE(game.clockRunning);
        EXPECT_FALSE(game.abortInput);
        EXPECT_TRUE(pf.checks[30 + game.difficulty]);
        EXPECT_EQ(pf.checks[40], game.numbersMode);
        EXPECT_EQ(pf.checks[41], !game.numbersMode);
        EXPECT_EQ(pf.checks[44], game.showCandidates);
        EXPECT_EQ(pf.checks[45], game.symmetryOn);
    }

    // A small board: givens in the first row, an entry and a note below.
    void setUpBoard() {
        for (int c = 1; c <= 9; ++c) game.givens(c, 1) = game.board(c, 1) = static_cast<std::uint8_t>(c);
        game.board(1, 2) = 4;
        game.candidates(5, 5, 3) = true;
    }
};

TEST_F(CommandsTest, SettingCommandsChangeOnlyTheirSetting) {
    setUpBoard();
    Grid board = game.board;
    for (int id = 30; id <= 34; ++id) {
        Win_0_MenuEvent(id);
        EXPECT_EQ(game.difficulty, id - 30);
        EXPECT_EQ(game.lastCommand, id);
        expectIdle();
    }
    Win_0_MenuEvent(45);
    EXPECT_FALSE(game.symmetryOn);
    expectIdle();
    Win_0_MenuEvent(41);
    EXPECT_FALSE(game.numbersMode);
    expectIdle();
    Win_0_MenuEvent(40);
    EXPECT_TRUE(game.numbersMode);
    EXPECT_EQ(game.board, board);
    EXPECT_TRUE(game.candidates(5, 5, 3));
}

TEST_F(CommandsTest, CandidateDisplayTwiceLosesTheNotes) {
    setUpBoard();
    Win_0_MenuEvent(44);
    EXPECT_TRUE(game.showCandidates);
    expectIdle();
    Win_0_MenuEvent(44);
    EXPECT_FALSE(game.showCandidates);
    EXPECT_EQ(game.candidates, CandidateGrid{});
    expectIdle();
}

TEST_F(CommandsTest, ClearAndUnknownCommands) {
    setUpBoard();
    game.clockRunning = true;
    Win_0_MenuEvent(777);
    EXPECT_EQ(game.lastCommand, 777);
    EXPECT_EQ(game.board(1, 2), 4);
    expectIdle();

    Win_0_MenuEvent(26);
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
    EXPECT_EQ(game.candidates, CandidateGrid{});
    expectIdle();
}

TEST_F(CommandsTest, ShuffleKeepsTheNumberOfGivensAndEntries) {
    setUpBoard();
    Win_0_MenuEvent(24);
    int givens = 0, filled = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            givens += game.givens(c, r) != 0;
            filled += game.board(c, r) != 0;
        }
    EXPECT_EQ(givens, 9);
    EXPECT_EQ(filled, 10);
    expectIdle();
}

TEST_F(CommandsTest, EndingAnsweredNoChangesNothing) {
    setUpBoard();
    Grid board = game.board;
    pf.messageBoxAnswers = {2};
    Win_0_MenuEvent(99);
    ASSERT_EQ(pf.messages.size(), 1u);
    EXPECT_EQ(pf.messages[0], "Spiel beenden?");
    EXPECT_FALSE(pf.appEnding());
    EXPECT_EQ(game.board, board);
    expectIdle();

    pf.messageBoxAnswers = {1};
    Win_0_Close();
    EXPECT_TRUE(pf.appEnding());
}

TEST_F(CommandsTest, NewGameReadsAFirstRecordOfTheCollectionAndTimesIt) {
    // A collection whose four records are told apart by their given in cell (1, 1).
    std::vector<unsigned char> bytes(4 * boardRecordSize, 0);
    for (int record = 0; record < 4; ++record) {
        bytes[static_cast<std::size_t>(record * boardRecordSize + 11)] = static_cast<unsigned char>(record + 1);
        bytes[static_cast<std::size_t>(record * boardRecordSize + 100 + 11)] = static_cast<unsigned char>(record + 1);
        for (int i = 1200; i < boardRecordSize; ++i)
            bytes[static_cast<std::size_t>(record * boardRecordSize + i)] = 5;
    }
    test::writeBytes("mittel.nnr", bytes);

    Win_0_MenuEvent(31);
    bool sawClock = false;
    pf.pushStep([&] {
        sawClock = game.clockRunning;
        EXPECT_EQ(game.finalTime, "X");
        EXPECT_EQ(game.currentFile, "mittel.nnr");
        EXPECT_EQ(game.helpText, helpTextClickCell);
    });
    pf.pushKeyUp(27);  // Abbruch
    Win_0_MenuEvent(8);
    EXPECT_TRUE(sawClock);
    int givens = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) givens += game.givens(c, r) != 0;
    EXPECT_EQ(givens, 1);
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
