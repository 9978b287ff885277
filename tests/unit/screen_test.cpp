// The screen, the clock and the play loops, on a platform that records every drawing call and its drawing state.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/play_loops.h"
#include "fame/champions_file.h"
#include "logic/hint.h"
#include "logic/rules.h"
#include "platform/headless_platform.h"
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/candidate_marks.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>
#include <utility>

namespace nonari::test {
namespace {

struct DrawOp {
    enum Kind { Line, FilledBox, Text, Save, Restore, Discard } kind = Line;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string text;  // the text drawn, or the id of the saved area restored or discarded
    Rgb pen = 0;
    RasterMode raster = RasterMode::CopyPen;
    bool opaque = true;
    FontRequest font;
};

class RecordingPlatform : public HeadlessPlatform {
public:
    std::vector<DrawOp> ops;
    DrawOp now;  // the drawing state in force
    int fixedFontHeight = 12;
    void setPenColour(Rgb c) override { now.pen = c; }
    void setRasterMode(RasterMode m) override { now.raster = m; }
    void setTextOpaque(bool o) override { now.opaque = o; }
    void selectFont(const FontRequest& f) override { now.font = f; }
    int systemFixedFontHeight() override { return fixedFontHeight; }
    void drawLine(int x1, int y1, int x2, int y2) override { record(DrawOp::Line, x1, y1, x2, y2); }
    void drawFilledBox(int x1, int y1, int x2, int y2) override { record(DrawOp::FilledBox, x1, y1, x2, y2); }
    void drawText(int x, int y, const std::string& text) override { record(DrawOp::Text, x, y, x, y, text); }
    SavedAreaId saveArea(int x1, int y1, int x2, int y2) override {
        record(DrawOp::Save, x1, y1, x2, y2);
        return ++areas;
    }
    void restoreArea(SavedAreaId id, int x, int y) override { record(DrawOp::Restore, x, y, x, y, std::to_string(id)); }
    void discardArea(SavedAreaId area) override { record(DrawOp::Discard, 0, 0, 0, 0, std::to_string(area)); }

    template <class Keep> std::vector<DrawOp> select(Keep keep) const {
        std::vector<DrawOp> found;
        std::copy_if(ops.begin(), ops.end(), std::back_inserter(found), keep);
        return found;
    }
    std::vector<DrawOp> of(DrawOp::Kind kind) const { return select([=](const DrawOp& o) { return o.kind == kind; }); }
    // The last text drawn with its top-left corner at (x, y).
    std::string lastTextAt(int x, int y) const {
        auto at = select([=](const DrawOp& op) { return op.kind == DrawOp::Text && op.x1 == x && op.y1 == y; });
        return at.empty() ? "<none>" : at.back().text;
    }

private:
    int areas = 0;
    void record(DrawOp::Kind kind, int x1, int y1, int x2, int y2, const std::string& text = {}) {
        ops.push_back({kind, x1, y1, x2, y2, text, now.pen, now.raster, now.opaque, now.font});
    }
};

constexpr int laden = 30, drucken = 202, abbruch = 476;  // the left edges of three buttons

// Fixture: the headless game drawn on a recording platform that has the main window's mouse handler.
class ScreenTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        installPlatform(&rec);
        rec.setMainWindowHandlers({nullptr, Win_0_MouseMove, nullptr});
        game.screen.uhr = rec.createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
    }

    // Centre of cell (column, row), and of square n (1..9) of that cell's picker, in window pixels.
    static int cellX(int column) { return 29 + (column - 1) * 60 + 30; }
    static int cellY(int row) { return 45 + (row - 1) * 60 + 30; }
    static int squareX(int column, int n) { return 29 - 16 + (column - 1) * 60 + ((n - 1) % 3) * 30 + 15; }
    static int squareY(int row, int n) { return 45 - 16 + (row - 1) * 60 + ((n - 1) / 3) * 30 + 15; }

    void left(double x, double y) { rec.pushClick(EventKind::LeftPress, x, y); }
    void right(double x, double y) { rec.pushClick(EventKind::RightPress, x, y); }
    void keyUp(int key, int modifiers = 0) { rec.pushKeyUp(key, modifiers); }
    // A click on the cell and a typed character for the picker it opens.
    void typeInto(int column, int row, int character) { left(cellX(column), cellY(row)), rec.pushChar(character); }

    // Texts drawn in the font of the given height (58: cell glyphs, 21: candidate marks), in order.
    std::vector<DrawOp> textsOfHeight(int height) const {
        return rec.select([=](const DrawOp& op) { return op.kind == DrawOp::Text && op.font.height == height; });
    }
    // The buttons' top edges drawn in that pen: light when raised, dark when pressed.
    std::vector<DrawOp> topEdges(Rgb pen) const {
        return rec.select([=](const DrawOp& o) { return o.kind == DrawOp::Line && o.y1 == 598 && o.y2 == 598 && o.pen == pen; });
    }
    int pressed(int x) const { return static_cast<int>(std::ranges::count(topEdges(0x404040), x, &DrawOp::x1)); }
    // Runs the loop on the script so far; true when it ended through Abbruch before reading a last key.
    bool endsThroughAbbruch() {
        rec.ops.clear();
        keyUp('N');
        playLoop();
        return pressed(abbruch) == 1 && std::exchange(rec.script, {}).size() == 1;
    }
    std::string label() { return rec.labelText(game.screen.uhr); }
    void startTimedGame(double elapsed) {
        game.clock.clockRunning = true;
        game.clock.gameWon = false;
        game.clock.startTime = currentTime() - elapsed;
        game.clock.lastClockSecond = -1.0;
    }

    RecordingPlatform rec;
    const Grid solution = gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
};
using ScreenBoard = ScreenTest;
using PlayLoop = ScreenTest;

TEST_F(ScreenBoard, GivensFromGivensMarksOnlyInEmptyCellsAndOwnNotesKeepTheClock) {
    game.puzzle.givens(1, 1) = 4;
    game.puzzle.board(1, 1) = 9;  // a given is always shown from givens
    game.puzzle.board(3, 3) = 6;
    game.puzzle.candidates(7, 7, 9) = game.puzzle.candidates(7, 7, 1) = game.puzzle.candidates(3, 3, 1) = true;
    game.clock.clockRunning = true;
    drawBoard();
    std::string shown;
    for (int height : {58, 21}) for (const DrawOp& op : textsOfHeight(height)) shown += op.text;
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
    updateStatistics(), updateStatistics();  // a beep each
    EXPECT_EQ(rec.lastTextAt(626, 326) + rec.lastTextAt(659 + 16 * 7, 252), "Falsche Zahl! 2 ");
    EXPECT_EQ(rec.beeps, 2);
    game.puzzle.board = solution;  // the verdicts are the rules' own, and every nine is counted
    updateStatistics();
    EXPECT_TRUE(game.screen.boardFull && rec.lastTextAt(626, 326) == "Brett gelöst!!!" && rec.beeps == 2);
    EXPECT_EQ(rec.lastTextAt(659 + 16 * 9, 252), "9 ");

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
    EXPECT_TRUE(game.clock.clockThreadId == 0 && label() == idleClockText);
}

TEST_F(PlayLoop, ClickZonesAndKeysThatEndTheLoop) {
    left(28, 610);
    rec.pushStep([this] { EXPECT_EQ(pressed(laden), 0) << "x 28 lies left of every zone"; });
    left(29, 610);
    rec.pushFormEvent("frm1", "frm1_Close");  // Laden opens the slot dialog
    rec.pushStep([this] { EXPECT_EQ(pressed(laden), 1); });
    left(600, 610);  // right of the drawn Abbruch button, still in its zone
    game.clock.clockRunning = true;
    EXPECT_TRUE(endsThroughAbbruch());
    EXPECT_FALSE(game.clock.clockRunning);

    game.settings.numbersMode = false;
    keyUp('A');  // a digit key in letters mode: the loop goes on to Escape
    keyUp(27);
    EXPECT_TRUE(endsThroughAbbruch());
}

// T names the next step and marks its cell until the next move; it fills nothing and ends the timing. O solves only
// right after K (other keys and a dialog may come between), and a solved timed game is not won.
TEST_F(PlayLoop, THintsTheNextStepWithoutFillingACellAndKThenOSolvesWithoutWinning) {
    Grid puzzle = solution;  // single-candidate logic completes it
    for (int i = 0; i < 81; i += 4) puzzle(i % 9 + 1, i / 9 + 1) = 0;
    game.puzzle.board = game.puzzle.givens = puzzle;
    game.clock.clockRunning = true;
    game.clock.finalTime = "X";
    const std::pair<int, int> target = hintTargetCells(nextHint(puzzle, puzzle)).front();
    const int column = target.first, row = target.second;
    keyUp('O');
    keyUp('T');
    rec.pushStep([&] {
        EXPECT_EQ(game.puzzle.board, puzzle) << "neither O without K nor T fills a cell";
        EXPECT_TRUE(!game.clock.clockRunning && label() == idleClockText);
        EXPECT_EQ(game.hint.targetCells, (std::vector{std::pair{column, row}}));
        EXPECT_TRUE(game.screen.helpText.ends_with(" " + std::to_string(solution(column, row))));
        // Three lines of at most 26 characters where one help text stands otherwise.
        const auto lines = rec.select([](const DrawOp& o) { return o.kind == DrawOp::Text && o.x1 == 616; });
        ASSERT_GE(lines.size(), 2u);
        for (const DrawOp& line : lines) EXPECT_TRUE(line.y1 >= 499 && line.y1 + 12 <= 541) << line.text;
    });
    typeInto(column, row, '0' + solution(column, row));
    rec.pushStep([&] {
        EXPECT_TRUE(game.hint.targetCells.empty()) << "the move ends the marks";
        EXPECT_EQ(rec.lastTextAt(616, 515), "Bitte ein Feld anklicken! ");
        game.clock.clockRunning = true;  // timed again, for K and O
    });
    keyUp('K');
    keyUp('X');  // no shuffle in a game: the solution below is the unshuffled one
    keyUp('L');  // the slot dialog in between
    rec.pushFormEvent("frm1", "frm1_Close");
    keyUp('O');
    playLoop();
    EXPECT_EQ(game.puzzle.board, solution);
    EXPECT_EQ(game.screen.statusText + game.clock.finalTime, "Brett gelöst!!!X");
    EXPECT_FALSE(game.clock.clockRunning);
}

TEST_F(PlayLoop, ButtonWidthsAndWhatKeysFCAndMDoToNotesAndClock) {
    keyUp(27);
    playLoop();
    // Each button's light top edge runs from its left edge across its width: 8 pixels a character and 20.
    std::vector<std::pair<int, int>> edges;
    for (const DrawOp& op : topEdges(0xFFFFFF)) edges.emplace_back(op.x1, op.x2 - op.x1);
    EXPECT_EQ(edges,
              (std::vector<std::pair<int, int>>{{30, 76}, {108, 92}, {202, 92}, {296, 100}, {398, 76}, {476, 92}}));

    game.puzzle.board = solution;
    game.puzzle.board(2, 2) = game.puzzle.board(8, 3) = 0;
    auto marks = [this] {
        return rec.select([](const DrawOp& o) { return o.kind == DrawOp::Text && o.font.height == 21; }).size();
    };
    keyUp('F');  // every note of every cell; the two empty cells show theirs
    rec.pushStep([&] { EXPECT_TRUE(std::ranges::count(game.puzzle.candidates.mark, true) == 1000 && marks() == 18); });
    rec.pushStep([&] { rec.ops.clear(); });
    keyUp('C');
    rec.pushStep([&] { EXPECT_TRUE(game.puzzle.candidates == CandidateGrid{} && marks() == 0); });
    rec.pushStep([&] { game.clock.clockRunning = true, rec.setLabelText(game.screen.uhr, " 00:00:03"); });  // M, timed
    keyUp('M');
    rec.pushStep([&] {
        const int fits = solution(2, 2);  // the only digit that fits the empty cell (2, 2)
        const CandidateGrid& marks = game.puzzle.candidates;
        EXPECT_TRUE(game.settings.showCandidates && marks(2, 2, fits) && !marks(2, 2, fits % 9 + 1));
        EXPECT_TRUE(!game.clock.clockRunning && rec.labelText(game.screen.uhr) == idleClockText);
        game.clock.clockRunning = true;
    });
    keyUp('M');  // switching them off again stops it as well
    // The two open cells filled: solved, but help stopped the clock, so no name is asked for.
    resetChampions();  // empty places, as at the game's start: any time would make a record
    typeInto(2, 2, '0' + solution(2, 2));
    typeInto(8, 3, '0' + solution(8, 3));
    rec.pushStep([this] { EXPECT_EQ(rec.findForm("champ"), nullptr) << "an untimed win asked for a name"; });
    playLoop();
    EXPECT_FALSE(game.settings.showCandidates || game.clock.clockRunning || game.puzzle.candidates != CandidateGrid{});
}

TEST_F(PlayLoop, OwnBoardEntryShufflesOnXAndLeavesNotesAndClockAlone) {
    game.puzzle.board = game.puzzle.givens = solution;  // a full board shuffles to a different full board
    game.puzzle.candidates(3, 3, 3) = true;
    const CandidateGrid notes = game.puzzle.candidates;
    for (int key : {'F', 'C', 'X', 'K', 'O'}) keyUp(key);
    game.clock.clockRunning = true;
    ownBoardLoop();
    EXPECT_TRUE(game.puzzle.candidates == notes && game.clock.clockRunning && game.picker.ownBoardMode);
    EXPECT_TRUE(game.puzzle.board != solution && isConsistent(game.puzzle.board));
    EXPECT_EQ(game.puzzle.givens, game.puzzle.board) << "the typed board stays all givens";
}

TEST_F(PlayLoop, KeysTypedIntoThePickerDoNotAlsoActOnRelease) {
    game.settings.numbersMode = false;
    game.puzzle.candidates(9, 9, 4) = true;
    for (auto [cell, typed, released] : {std::tuple{2, 27, 27}, {3, 'c', 'C'}, {4, 'd', 'D'}})
        typeInto(cell, cell, typed), keyUp(released);  // Escape would end the loop, C clear the notes, D print
    rec.pushStep([this] { EXPECT_TRUE(pressed(abbruch) + pressed(drucken) == 0 && game.puzzle.candidates(9, 9, 4)); });
    keyUp('C');  // pressed on its own it clears the notes
    playLoop();
    EXPECT_TRUE(game.puzzle.board(3, 3) == 3 && game.puzzle.board(4, 4) == 4 && !game.puzzle.candidates(9, 9, 4));
}

TEST_F(PlayLoop, OwnBoardEntriesAreGivensAGameInsideIsAGameAndAMenuCommandLeavesEveryLoopItsButtonsAndChecks) {
    rec.setMainWindowHandlers({Win_0_MenuEvent, Win_0_MouseMove, nullptr});
    game.screen.savedStrip = rec.saveArea(30, 598, 568, 625);
    auto buttonsOnStrip = [this] {  // raised buttons drawn since the strip was last put back
        auto back = std::ranges::find_if(rec.ops.rbegin(), rec.ops.rend(), [](const DrawOp& o) {
            return o.kind == DrawOp::Restore && o.y1 == 597;
        });
        return std::count_if(rec.ops.rbegin(), back, [](const DrawOp& o) {
            return o.kind == DrawOp::Line && o.y1 == 598 && o.y2 == 598 && o.pen == 0xFFFFFF;
        });
    };
    typeInto(1, 1, '5');
    typeInto(2, 1, '6');
    right(cellX(2), cellY(1));  // removes the given
    typeInto(1, 1, '8');        // replaces the given
    left(cellX(4), cellY(4));
    right(cellX(4), cellY(4));  // picker closed by the right button: nothing becomes a given
    typeInto(5, 5, '3');
    typeInto(5, 5, '0');  // "0" removes it again
    rec.pushMenu(menuId(MenuCommand::StartGame));  // without Abbruch first
    typeInto(3, 3, '1');
    right(cellX(3), cellY(3));  // cleared again, as in any game
    typeInto(3, 3, '7');
    for (int key : {'Z', 'Z', 'Z', 'Z', 'Y', 'Y', 'Y'}) keyUp(key, ctrlHeld);  // the entry's givens are no moves
    rec.pushStep([&] { EXPECT_EQ(rec.lastTextAt(160, 167), "7") << "the entered digit is drawn"; });
    keyUp('M');
    rec.pushStep([&] { EXPECT_TRUE(rec.checks[menuId(MenuCommand::ShowCandidates)]) << "M moves the check mark"; });
    rec.pushMenu(menuId(MenuCommand::Numbers));  // the game goes on after it
    rec.pushStep([&] { EXPECT_EQ(buttonsOnStrip(), 6); });
    keyUp(27);  // back in own-board entry
    rec.pushStep([&] { EXPECT_TRUE(game.picker.ownBoardMode && buttonsOnStrip() == 6); });
    typeInto(6, 6, '5');
    ownBoardLoop();
    PuzzleState& p = game.puzzle;
    EXPECT_EQ(std::make_tuple(p.givens(1, 1), p.board(1, 1), p.board(3, 3), p.givens(3, 3), p.givens(6, 6), game.screen.givenCount),
              std::make_tuple(8, 8, 7, 0, 5, 2));
    EXPECT_EQ(p.givens(2, 1) + p.board(2, 1) + p.givens(4, 4) + p.givens(5, 5) + p.board(5, 5), 0);
}

TEST_F(PlayLoop, DigitKeysOnTheCursorCellActAsThePickerInBothLoops) {
    game.puzzle.board = game.puzzle.givens = solution;
    game.puzzle.board(2, 1) = game.puzzle.givens(2, 1) = 0;
    const int right = solution(2, 1), wrong = right % 9 + 1;
    const Grid open = game.puzzle.board;
    game.settings.numbersMode = false;  // the digit keys still enter digits
    game.clock.clockRunning = true;
    game.clock.finalTime = "X";
    keyUp('0' + wrong);                              // no cursor yet
    keyUp(KeyArrowRight), keyUp('0' + wrong);        // shown at (1, 1), a given
    keyUp(KeyArrowRight), keyUp('0' + wrong, shiftHeld);  // a note on the empty cell (2, 1)
    rec.pushStep([&] { EXPECT_TRUE(game.puzzle.board == open && game.puzzle.candidates(2, 1, wrong)); });
    keyUp(KeyReturn), rec.pushInput(InputEvent{EventKind::Hidden});  // hidden under the picker: paused at once
    rec.pushStep([] { EXPECT_TRUE(game.screen.boardCovered && !game.picker.pickerActive); });
    keyUp('P');
    keyUp(KeyPad0 + wrong);
    rec.pushStep([&] { EXPECT_TRUE(game.screen.statusText == statusWrong && game.puzzle.board(2, 1) == wrong); });
    keyUp(KeySpace), keyUp('0' + right);  // the won game, with its record check
    rec.pushFormEvent("champ", "champ_Close");
    rec.pushFormEvent("ruhm", "ruhm_Close");
    keyUp(27);
    playLoop();
    EXPECT_EQ(game.puzzle.board, solution);
    EXPECT_TRUE(game.clock.finalTime != "X" && !game.clock.clockRunning);

    game.puzzle.board = game.puzzle.givens = Grid{};  // own-board entry's history is its own: the game above is no step
    const CandidateGrid notes = game.puzzle.candidates;
    keyUp('Z', ctrlHeld);
    keyUp(KeyArrowDown), keyUp('7'), keyUp('4', shiftHeld);  // a given at (2, 1); no notes here
    keyUp(KeyHome), keyUp('7'), keyUp(KeyDelete), keyUp('Z', ctrlHeld);  // removed, and back
    keyUp('X'), keyUp('Z', ctrlHeld);  // the shuffle taken back too
    keyUp(27);
    ownBoardLoop();
    EXPECT_EQ(std::tie(game.puzzle.givens(1, 1), game.puzzle.givens(2, 1), game.screen.givenCount),
              std::make_tuple(7, 7, 2));
    EXPECT_EQ(game.puzzle.candidates, notes);
}

TEST_F(PlayLoop, PickerTypedDigitsInBothModesAHeldButtonAndAnEndingProgram) {
    game.settings.numbersMode = false;
    typeInto(2, 3, '1');  // not a digit key in letters mode: the picker stays open
    rec.pushChar('a');
    rec.pushStep([] { EXPECT_EQ(game.puzzle.board(2, 3), 1); });
    typeInto(4, 4, 'i');
    typeInto(2, 3, 27);  // Escape empties
    rec.pushStep([] { game.settings.numbersMode = true; });
    typeInto(5, 1, 'c');  // a letter in numbers mode is ignored
    rec.pushChar('7');
    rec.pushStep([this] { rec.mouseHeld = true; });  // a held button is waited out: only a new press counts
    left(cellX(2), cellY(2));
    left(squareX(2, 1), squareY(2, 1));  // still the press that opened the picker
    rec.pushStep([this] { rec.mouseHeld = false; });
    left(squareX(2, 9), squareY(2, 9));
    left(cellX(3), cellY(3));  // an ending program returns from the picker at once
    rec.pushStep([this] { rec.quit(); });
    rec.pushChar('4');
    playLoop();
    const Grid& b = game.puzzle.board;
    EXPECT_EQ(std::make_tuple(b(2, 3), b(4, 4), b(5, 1), b(2, 2), b(3, 3)), std::make_tuple(0, 9, 7, 9, 0));
    EXPECT_EQ(rec.lastTextAt(659 + 16 * 7, 252), "1 ");
    EXPECT_FALSE(game.picker.pickerActive || game.clock.drawingBusy || game.picker.pickerBackground != 0);
    EXPECT_EQ(rec.script.size(), 1u) << "nothing more is read";
}

TEST_F(PlayLoop, PickerEverySquareShowsAndEntersItsOwnDigitOrLetter) {
    for (bool numbers : {true, false}) {
        rec.pushStep([numbers] { game.settings.numbersMode = numbers; });
        for (int n = 1; n <= 9; ++n) {
            rec.pushStep([this] { rec.ops.clear(); });
            left(cellX(7), cellY(2));
            rec.pushStep([this, n, numbers] {  // the glyph in each square of the open picker (6 or 3..10 pixels in)
                const auto glyphs = rec.select([](const DrawOp& o) { return o.kind == DrawOp::Text && o.font.height == 30; });
                EXPECT_EQ(glyphs.size(), 9u);
                for (const DrawOp& op : glyphs) {
                    const PickerState& picker = game.picker;
                    const int square = (op.y1 - 1 - picker.pickerY) / 30 * 3 + (op.x1 - 3 - picker.pickerX) / 30 + 1;
                    EXPECT_EQ(op.text, numbers ? std::to_string(square) : std::string(1, char('@' + square)));
                }
            });
            left(squareX(7, n), squareY(2, n));
            rec.pushStep([n] { EXPECT_EQ(game.puzzle.board(7, 2), n) << "square " << n; });
        }
    }
    playLoop();
}

TEST_F(PlayLoop, PickerRightClicksEmptyCellsAndNotesToggle) {
    game.puzzle.board(4, 5) = 8;
    game.puzzle.board(6, 5) = game.puzzle.givens(6, 5) = 2;
    right(cellX(4), cellY(5));  // empties the entry
    right(cellX(6), cellY(5));  // a given stays
    left(cellX(6), cellY(5));   // and opens no picker
    rec.pushStep([this] { EXPECT_TRUE(rec.of(DrawOp::Save).empty()); });
    for (int typed : {'5', '3', '5'}) {  // notes on an empty cell
        right(cellX(5), cellY(5));
        rec.pushChar(typed);
    }
    rec.pushStep([] { EXPECT_TRUE(!game.puzzle.candidates(5, 5, 5) && game.puzzle.candidates(5, 5, 3)) << "5 twice"; });
    right(cellX(5), cellY(5));
    right(100, 100);  // a right press anywhere in the picker's wait removes all nine
    playLoop();
    Grid& board = game.puzzle.board;
    EXPECT_EQ(std::tie(board(4, 5), board(6, 5), board(5, 5)), std::make_tuple(0, 2, 0));
    for (int d = 1; d <= 9; ++d) EXPECT_FALSE(game.puzzle.candidates(5, 5, d)) << d;
}

TEST_F(PlayLoop, PickerMenuCommandInsideThePickerLeavesItsCellAloneAndTheLoopGoesOn) {
    rec.setMainWindowHandlers({Win_0_MenuEvent, Win_0_MouseMove, nullptr});
    left(cellX(1), cellY(1));
    rec.pushMenu(10);     // "Spielstart" while the picker of cell (1, 1) waits
    typeInto(3, 3, '8');  // played on the nested play screen
    rec.pushKeyUp(27);    // leaves it
    left(20, 40);         // where square 1 of the first picker was, off the board
    typeInto(6, 6, '6');  // back on the outer play screen
    playLoop();
    Grid& board = game.puzzle.board;
    EXPECT_EQ(std::tie(board(1, 1), board(3, 3), board(6, 6)), std::make_tuple(0, 8, 6))
        << "the abandoned picker takes no click";
    EXPECT_FALSE(game.picker.pickerActive || game.clock.drawingBusy);
    // Each picker gives back the area it saved: the first one's at its own corner.
    auto restores = rec.of(DrawOp::Restore);
    ASSERT_TRUE(restores.size() == 3 && rec.of(DrawOp::Save).size() == 3 && rec.of(DrawOp::Discard).size() == 3);
    EXPECT_EQ(std::tie(restores[1].x1, restores[1].y1, restores[1].text), std::make_tuple(13, 29, std::string("1")));
}

}  // namespace
}  // namespace nonari::test
