// The side panels: digit counts, the error check and its beep, and the difficulty line.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/board_view.h"
#include "screen/side_panels.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

using ScreenPanels = ScreenTest;

TEST_F(ScreenPanels, CountsAndStatusBeepOnEveryUpdateWhileAConflictStands) {
    drawStatisticsPanel();  // an empty board: no error, no beep
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(rec.lastTextAt(659 + 16 * d, 252), "0 ") << d;
    EXPECT_EQ(std::make_tuple(game.screen.boardFull, rec.beeps), std::make_tuple(false, 0));
    EXPECT_EQ(rec.lastTextAt(626, 326) + game.screen.statusText, "Keine Fehler! Keine Fehler! ");
    game.puzzle.board(2, 5) = game.puzzle.board(8, 5) = 7;
    updateStatistics();
    updateStatistics();
    EXPECT_EQ(rec.lastTextAt(626, 326) + rec.lastTextAt(659 + 16 * 7, 252), "Falsche Zahl! 2 ");
    EXPECT_EQ(rec.beeps, 2);

    // A byte above nine from a damaged record is no digit to count.
    game.puzzle.board.clear();
    game.puzzle.board(3, 3) = 255;
    game.puzzle.board(4, 4) = 9;
    updateStatistics();
    std::string counts;
    for (int d = 1; d <= 9; ++d) counts += rec.lastTextAt(659 + 16 * d, 252);
    EXPECT_EQ(counts, "0 0 0 0 0 0 0 0 1 ");
    // The verdicts are the rules' own; a solved board reads so.
    game.puzzle.board = gridFromText(solvedGrid);
    updateStatistics();
    EXPECT_TRUE(game.screen.boardFull && rec.lastTextAt(626, 326) == "Brett gelöst!!!");
    EXPECT_EQ(rec.beeps, 3);
}

TEST_F(ScreenPanels, DifficultyLineCountsGivensAndNamesTheSetting) {
    for (int c = 1; c <= 9; c += 2) game.puzzle.givens(c, c) = static_cast<std::uint8_t>(c);
    game.settings.difficulty = 1;
    drawDifficultyPanel();
    EXPECT_EQ(rec.lastTextAt(631, 414) + "|" + rec.lastTextAt(791, 414) + "|" + rec.lastTextAt(656, 426),
              "Vorgegebene Zahlen: 0|5 |  Mittel   ");
}

}  // namespace
}  // namespace nonari::test
