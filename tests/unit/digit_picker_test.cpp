// Cell entry through the digit picker, driven by scripted clicks and typed characters in the play loops.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/play_loops.h"
#include "screen/digit_picker.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

using DigitPicker = ScreenTest;

TEST_F(DigitPicker, TypedDigitsInBothModesAHeldButtonAndAnEndingProgram) {
    game.settings.numbersMode = false;
    typeInto(2, 3, '1');  // not a digit key in letters mode: the picker stays open
    rec.pushChar('a');
    rec.pushStep([] { EXPECT_EQ(game.puzzle.board(2, 3), 1); });
    typeInto(4, 4, 'i');
    typeInto(2, 3, 27);  // Escape empties
    rec.pushStep([] { game.settings.numbersMode = true; });
    typeInto(5, 1, 'c');  // a letter in numbers mode is ignored
    rec.pushChar('7');
    // A held button is waited out: the picker takes only a new press.
    rec.pushStep([this] { rec.mouseHeld = true; });
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

TEST_F(DigitPicker, EverySquareShowsAndEntersItsOwnDigitOrLetter) {
    for (bool numbers : {true, false}) {
        rec.pushStep([numbers] { game.settings.numbersMode = numbers; });
        for (int n = 1; n <= 9; ++n) {
            rec.pushStep([this] { rec.ops.clear(); });
            left(cellX(7), cellY(2));
            rec.pushStep([this, n, numbers] {
                // The glyph drawn in each square of the open picker (its top-left 6 or 3..10 pixels in).
                const auto glyphs =
                    rec.select([](const DrawOp& o) { return o.kind == DrawOp::Text && o.font.height == 30; });
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

TEST_F(DigitPicker, RightClicksEmptyCellsAndNotesToggle) {
    game.puzzle.board(4, 5) = 8;
    game.puzzle.board(6, 5) = game.puzzle.givens(6, 5) = 2;
    right(cellX(4), cellY(5));  // empties the entry
    right(cellX(6), cellY(5));  // a given stays
    left(cellX(6), cellY(5));   // and opens no picker
    rec.pushStep([this] { EXPECT_TRUE(rec.of(DrawOp::Save).empty()); });
    // On an empty cell the right button opens the picker for notes.
    for (int typed : {'5', '3', '5'}) right(cellX(5), cellY(5)), rec.pushChar(typed);
    rec.pushStep([] {
        EXPECT_TRUE(!game.puzzle.candidates(5, 5, 5) && game.puzzle.candidates(5, 5, 3)) << "5 toggled twice";
    });
    right(cellX(5), cellY(5));
    right(100, 100);  // a right press anywhere in the picker's wait removes all nine
    playLoop();
    Grid& board = game.puzzle.board;
    EXPECT_EQ(std::tie(board(4, 5), board(6, 5), board(5, 5)), std::make_tuple(0, 2, 0));
    for (int d = 1; d <= 9; ++d) EXPECT_FALSE(game.puzzle.candidates(5, 5, d)) << d;
}

TEST_F(DigitPicker, OwnBoardEntriesBecomeGivensAndTheCountFollows) {
    typeInto(1, 1, '5');
    typeInto(2, 1, '6');
    right(cellX(2), cellY(1));  // removes the given
    typeInto(1, 1, '8');        // replaces the given
    left(cellX(4), cellY(4));
    right(cellX(4), cellY(4));  // picker closed by the right button: nothing becomes a given
    typeInto(5, 5, '3');
    typeInto(5, 5, '0');  // "0" removes it again
    ownBoardLoop();
    EXPECT_EQ(std::tie(game.puzzle.givens(1, 1), game.puzzle.board(1, 1)), std::make_tuple(8, 8));
    const PuzzleState& puzzle = game.puzzle;
    EXPECT_EQ(puzzle.givens(2, 1) + puzzle.board(2, 1) + puzzle.givens(4, 4) + puzzle.givens(5, 5) + puzzle.board(5, 5), 0);
    EXPECT_EQ(game.screen.givenCount, 1);
}

TEST_F(DigitPicker, MenuCommandInsideThePickerLeavesItsCellAloneAndTheLoopGoesOn) {
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
    ASSERT_EQ(restores.size(), 3u);
    EXPECT_EQ(std::tie(restores[1].x1, restores[1].y1, restores[1].text), std::make_tuple(13, 29, std::string("1")));
    EXPECT_EQ(rec.of(DrawOp::Save).size(), 3u);
    EXPECT_EQ(rec.of(DrawOp::Discard).size(), 3u);
}

}  // namespace
}  // namespace nonari::test
