// Fresh puzzles: the background maker, new games from it, and the setting kept between runs.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "files/board_record.h"
#include "files/settings_file.h"
#include "logic/levels.h"
#include "logic/puzzle_reserve.h"
#include "tests/support/test_support.h"

#include <chrono>
#include <thread>

namespace nonari {
namespace {

// Waits for the maker's spare of the level; a test that never gets one fails by its time limit.
Puzzle waitForSpare(int level) {
    while (true) {
        if (std::optional<Puzzle> spare = takeFreshPuzzle(level)) return *spare;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

class FreshPuzzles : public test::HeadlessGame {
protected:
    void TearDown() override {
        stopFreshPuzzles();
        HeadlessGame::TearDown();
    }
};

TEST_F(FreshPuzzles, TheMakerKeepsSparesOfEachLevelAndStopsWhileDigging) {
    EXPECT_FALSE(takeFreshPuzzle(0)) << "no maker, no spare";
    startFreshPuzzles(11);
    const Puzzle first = waitForSpare(0), second = waitForSpare(0);  // a new one after each taken
    EXPECT_NE(first, second);
    for (const Puzzle& p : {first, second}) EXPECT_TRUE(fitsLevel(p, 0));
    EXPECT_FALSE(takeFreshPuzzle(5));
    static_cast<void>(takeFreshPuzzle(4));  // now it digs for Teuflisch, and is stopped in the middle
    stopFreshPuzzles();
    EXPECT_FALSE(takeFreshPuzzle(4));
}

TEST_F(FreshPuzzles, NewGameTakesAFreshPuzzleWhileSwitchedOnAndTheSettingIsKept) {
    // A stored Mittel collection of 50 givens a record, which no fresh Mittel puzzle has.
    game.puzzle.board = game.puzzle.givens =
        test::gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
    for (int i = 0; i < 31; ++i) game.puzzle.board(i % 9 + 1, i / 9 + 1) = game.puzzle.givens(i % 9 + 1, i / 9 + 1) = 0;
    game.dialog.currentFile = collectionFile(1);
    for (std::int16_t r = 0; r < 4; ++r) ASSERT_EQ(writeBoardRecord(r), FileResult::Ok);
    pf.endWhenScriptEmpty = true;  // the play screen returns at once
    game.settings.difficulty = 1;
    auto newGameGivens = [&] {
        pf.ending = false;
        Win_0_MenuEvent(menuId(MenuCommand::NewGame));
        return puzzleOf(game.puzzle.givens);
    };
    auto kept = [] {
        game.settings.freshPuzzles = !game.settings.freshPuzzles;
        return loadSettings() == FileResult::Ok ? game.settings.freshPuzzles : !game.settings.freshPuzzles;
    };

    Win_0_MenuEvent(menuId(MenuCommand::FreshPuzzles));
    EXPECT_TRUE(game.settings.freshPuzzles && pf.checks[menuId(MenuCommand::FreshPuzzles)] && kept());
    while (!freshPuzzleReady(1)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const Puzzle fresh = newGameGivens();  // shuffled like a stored one, still of its level
    EXPECT_TRUE(fitsLevel(fresh, 1));
    EXPECT_NE(newGameGivens(), fresh) << "no spare yet, or another: never the same";

    Win_0_MenuEvent(menuId(MenuCommand::FreshPuzzles));
    EXPECT_FALSE(game.settings.freshPuzzles || kept());
    EXPECT_EQ(givenCount(newGameGivens()), 50);
    test::writeBytes(settingsFile, {0xFF, '\n'});
    EXPECT_TRUE(loadSettings() == FileResult::Ok && !game.settings.freshPuzzles) << "what it cannot read is off";
}

}  // namespace
}  // namespace nonari
