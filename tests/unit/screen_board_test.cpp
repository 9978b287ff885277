// Cell painting, candidate marks, font choice, shadow titles and the side panels on the recorded drawing calls; the
// game clock: its texts, the final time of a won game and the thread that refreshes the label.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/board_view.h"
#include "screen/candidate_marks.h"
#include "screen/game_clock.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "tests/unit/screen_recorder.h"

#include <chrono>
#include <thread>

namespace nonari::test {
namespace {

class ScreenBoard : public ScreenTest {
protected:
    // Texts drawn in the font of the given height (58: cell glyphs, 21: candidate marks), in order.
    std::vector<DrawOp> textsOfHeight(int height) const {
        return rec.select([=](const DrawOp& op) { return op.kind == DrawOp::Text && op.font.height == height; });
    }
    std::string label() { return rec.labelText(game.screen.uhr); }
    void startTimedGame(double elapsed) {
        if (!game.screen.uhr) game.screen.uhr = rec.createLabel("uhr", 0, 0, 100, 20, "Arial", 12, 0);
        game.clock.clockRunning = true;
        game.clock.gameWon = false;
        game.clock.startTime = currentTime() - elapsed;
        game.clock.lastClockSecond = -1.0;
    }
};

TEST_F(ScreenBoard, GivensFromGivensMarksOnlyInEmptyCellsAndOwnNotesKeepTheClock) {
    game.puzzle.givens(1, 1) = 4;
    game.puzzle.board(1, 1) = 9;  // a given is always shown from givens
    game.puzzle.board(3, 3) = 6;
    game.puzzle.candidates(7, 7, 9) = game.puzzle.candidates(7, 7, 1) = game.puzzle.candidates(3, 3, 1) = true;
    game.clock.clockRunning = true;
    drawBoard();
    std::string shown;
    for (int height : {58, 21})
        for (const DrawOp& op : textsOfHeight(height)) shown += op.text;
    EXPECT_EQ(shown, "4619");
    EXPECT_TRUE(game.clock.clockRunning);

    rec.ops.clear();  // emptying a cell wipes its whole mark area
    drawEntryCell(7, 7, 0);
    auto boxes = rec.of(DrawOp::FilledBox);
    ASSERT_TRUE(boxes.size() == 1u && rec.of(DrawOp::Text).empty());
    EXPECT_TRUE(boxes[0].x1 <= candidateMarkLeft(7, 1) && boxes[0].x2 >= candidateMarkLeft(7, 9) + 15);
    EXPECT_TRUE(boxes[0].y1 <= candidateMarkTop(7, 1) && boxes[0].y2 >= candidateMarkTop(7, 9) + 16);

    rec.ops.clear();  // cells off the board are left alone
    drawGivenCell(10, 1, 3);
    EXPECT_TRUE(rec.ops.empty() && game.puzzle.givens(10, 1) == 0);
    drawGivenCell(5, 7, 8);
    EXPECT_TRUE(game.puzzle.givens(5, 7) == 8 && game.puzzle.board(5, 7) == 0);
}

TEST_F(ScreenBoard, LettersModeShowsAToIInTheCellsAndTheStatisticsHeader) {
    for (int c = 1; c <= 9; ++c) game.puzzle.board(c, 4) = static_cast<std::uint8_t>(c);
    for (bool numbers : {true, false}) {
        SCOPED_TRACE(numbers ? "numbers" : "letters");
        game.settings.numbersMode = numbers;
        rec.ops.clear();
        drawBoard();
        drawStatisticsPanel();
        const auto glyphs = textsOfHeight(58);
        ASSERT_EQ(glyphs.size(), 9u);
        std::string header = rec.lastTextAt(619, 232) + "|" + rec.lastTextAt(619, 252) + "|";
        for (int d = 1; d <= 9; ++d) {
            const std::string shown = numbers ? std::to_string(d) : std::string(1, char('A' + d - 1));
            EXPECT_EQ(glyphs[static_cast<std::size_t>(d - 1)].text, shown);
            // "I" sits 14 pixels further right than the other letters, whose offset is 5; a number's is 10.
            const int offset = glyphs[static_cast<std::size_t>(d - 1)].x1 - (29 + (d - 1) * 60 + 1);
            EXPECT_EQ(offset, numbers ? 10 : d == 9 ? 19 : 5);
            header += rec.lastTextAt(675 + 16 * (d - 1) + (numbers ? 0 : 8), 232);
        }
        EXPECT_EQ(header, numbers ? "Zahlen|Anzahl|123456789" : "Ziffer|Anzahl|ABCDEFGHI");
    }
}

TEST_F(ScreenBoard, AutomaticCandidatesStopTheClockAndFollowTheBoard) {
    game.clock.clockRunning = true;
    game.settings.showCandidates = true;
    game.puzzle.board(1, 1) = 3;
    drawBoard();
    EXPECT_FALSE(game.clock.clockRunning);
    EXPECT_EQ(textsOfHeight(21).size(), 80u * 9u - 20u) << "3 is out in the 20 cells that see (1, 1)";
    rec.ops.clear();
    game.puzzle.board(9, 1) = 3;  // while a conflict stands nothing fits anywhere
    showAllCandidates();
    EXPECT_TRUE(textsOfHeight(21).empty());
}

TEST_F(ScreenBoard, UnknownFontNumbersTheLargeFontSwitchAndAShadowTitleThatLeavesTheDrawingStateAsItFoundIt) {
    for (int number : {16, 12, 0, -3}) EXPECT_EQ(screenFont(number).face, "System") << number;
    // Only font 8 measures the system font, above 16 pixels, and the switch never turns back.
    for (auto [height, number, large] : {std::tuple{16, 8, false}, {20, 18, false}, {20, 8, true}, {12, 8, true}}) {
        rec.fixedFontHeight = height;
        selectFont(number);
        EXPECT_EQ(game.screen.largeFonts, large) << height << " " << number;
    }
    drawShadowText(16, Black, 687, 219, "STATISTIK:");
    EXPECT_EQ(rec.of(DrawOp::Text).size(), 2u);
    EXPECT_EQ(std::tie(rec.now.raster, rec.now.opaque, rec.now.font.face),
              std::make_tuple(RasterMode::CopyPen, true, std::string("Terminal")));
}

TEST_F(ScreenBoard, CountsAndStatusBeepOnEveryUpdateWhileAConflictStandsAndTheDifficultyLine) {
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
    game.puzzle.board = gridFromText(solvedGrid);  // the verdicts are the rules' own
    updateStatistics();
    EXPECT_TRUE(game.screen.boardFull && rec.lastTextAt(626, 326) == "Brett gelöst!!!" && rec.beeps == 3);

    for (int c = 1; c <= 9; c += 2) game.puzzle.givens(c, c) = static_cast<std::uint8_t>(c);
    game.settings.difficulty = 1;
    drawDifficultyPanel();
    EXPECT_EQ(rec.lastTextAt(631, 414) + "|" + rec.lastTextAt(791, 414) + "|" + rec.lastTextAt(656, 426),
              "Vorgegebene Zahlen: 0|5 |  Mittel   ");
}

TEST_F(ScreenBoard, ClockTheRunningTimeMovesOnWithTheGamesOwnSecondsAndTheWinReadsTheTimeThen) {
    // A game started 0.7 s into a second of the time source: its seconds are not the source's.
    game.clock.startTime = 100.7;
    game.clock.lastClockSecond = -1.0;
    EXPECT_TRUE(refreshRunningTime(101.2));
    EXPECT_FALSE(refreshRunningTime(101.6)) << "still the game's first second";
    ASSERT_TRUE(refreshRunningTime(101.71)) << "one second into the game the label must move on";
    const ClockState& clock = game.clock;
    EXPECT_EQ(runningClockText(clock.elapsedHours, clock.elapsedMinutes, clock.elapsedRest), " 00:00:01");
    EXPECT_EQ(runningClockText(0, 4, 27.9), " 00:04:27");
    game.clock.startTime = 100.71;  // a new game that reaches the same count of seconds still refreshes
    EXPECT_TRUE(refreshRunningTime(101.72));
    EXPECT_EQ(game.clock.elapsedRest, 101.72 - 100.71);

    startTimedGame(65.26);
    updateClock();
    EXPECT_EQ(label(), " 00:01:05");
    game.clock.elapsedRest = 4.5;  // the refresh was in this same second of the game; its values are stale by now
    game.clock.gameWon = true;
    takeFinalTime();
    EXPECT_EQ(game.clock.finalTime + "|" + label(), "00:01:05.3|00:01:05.3");
    EXPECT_FALSE(game.clock.clockRunning);
}

TEST_F(ScreenBoard, ClockTheThreadRefreshesTheLabelUntilItsGameEndsAndCatchesUpAfterADrawing) {
    // A new game's thread ends the one of the earlier game, which is still timed.
    startTimedGame(10.0);
    startClockThread();
    const ThreadHandle earlier = game.clock.clockThreadId;
    startTimedGame(100.5);
    setDrawingBusy(true);
    startClockThread();
    rec.setLabelText(game.screen.uhr, "busy");
    EXPECT_NE(game.clock.clockThreadId, earlier);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));  // past the game's next second
    EXPECT_EQ(label(), "busy") << "no refresh while the screen is drawn";
    setDrawingBusy(false);
    // Caught up at once, not only at the game's next second 0.7 s later.
    for (int i = 0; i < 40 && label() == "busy"; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(label(), " 00:01:41");
    // With the flag cleared the thread ends by itself and leaves the label alone, for longer than its interval.
    game.clock.clockRunning = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    rec.setLabelText(game.screen.uhr, "stopped");
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    EXPECT_EQ(label(), "stopped");
    updateClock();  // the stop waits for the thread and shows the idle text
    EXPECT_EQ(game.clock.clockThreadId, 0);
    EXPECT_EQ(label(), idleClockText);
}

}  // namespace
}  // namespace nonari::test
