// Both play loops: click zones, keys, the K-then-O memory, own-board entry, and the digit picker driven by scripted
// clicks and typed characters.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/play_loops.h"
#include "fame/champions_file.h"
#include "logic/hint.h"
#include "logic/rules.h"
#include "platform/platform.h"
#include "screen/digit_picker.h"
#include "screen/side_panels.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

constexpr int laden = 30, drucken = 202, abbruch = 476;

class PlayLoop : public ScreenTest {
protected:
    // The buttons' top edges drawn in that pen: light when raised, dark when pressed.
    std::vector<DrawOp> topEdges(Rgb pen) const {
        return rec.select(
            [=](const DrawOp& o) { return o.kind == DrawOp::Line && o.y1 == 598 && o.y2 == 598 && o.pen == pen; });
    }
    int pressed(int x) const { return static_cast<int>(std::ranges::count(topEdges(0x404040), x, &DrawOp::x1)); }
    void keyUp(int key, int modifiers = 0) { rec.pushKeyUp(key, modifiers); }

    // Runs the loop on the script so far; true when it ended through Abbruch before reading a last key.
    bool endsThroughAbbruch() {
        rec.ops.clear();
        keyUp('N');
        playLoop();
        const bool ended = pressed(abbruch) == 1 && rec.script.size() == 1;
        rec.script.clear();
        return ended;
    }
    Grid solution = gridFromText(solvedGrid);
};

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
    game.screen.uhr = rec.createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
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
        EXPECT_FALSE(game.clock.clockRunning);
        EXPECT_EQ(rec.labelText(game.screen.uhr), idleClockText);
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
    game.screen.uhr = rec.createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
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
    EXPECT_EQ(std::tie(p.givens(1, 1), p.board(1, 1), p.board(3, 3), p.givens(3, 3), p.givens(6, 6)),
              std::make_tuple(8, 8, 7, 0, 5));
    EXPECT_EQ(p.givens(2, 1) + p.board(2, 1) + p.givens(4, 4) + p.givens(5, 5) + p.board(5, 5), 0);
    EXPECT_EQ(game.screen.givenCount, 2);
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
    keyUp(KeyPad0 + wrong);
    rec.pushStep([&] {
        EXPECT_EQ(std::tie(game.screen.statusText, game.puzzle.board(2, 1)), std::tie(statusWrong, wrong));
    });
    keyUp(KeySpace), keyUp('0' + right);  // the won game, with its record check
    rec.pushFormEvent("champ", "champ_Close");
    rec.pushFormEvent("ruhm", "ruhm_Close");
    keyUp(27);
    playLoop();
    EXPECT_EQ(game.puzzle.board, solution);
    EXPECT_TRUE(game.clock.finalTime != "X" && !game.clock.clockRunning);

    game.puzzle.board.clear();  // own-board entry begins a history of its own: the game above is no step
    game.puzzle.givens.clear();
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
    for (int typed : {'5', '3', '5'}) right(cellX(5), cellY(5)), rec.pushChar(typed);  // notes on an empty cell
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
