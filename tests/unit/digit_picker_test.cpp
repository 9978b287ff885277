// Cell entry through the digit picker, driven by scripted clicks, moves and typed characters in the play loops.
#include "app/commands.h"
#include "screen/digit_picker.h"
#include "screen/play_loops.h"
#include "tests/unit/screen_recorder.h"

#include <algorithm>

namespace nonari::test {
namespace {

class DigitPicker : public ScreenTest {
protected:
    void typeInto(int column, int row, int character) {
        left(cellX(column), cellY(row));
        rec.pushChar(character);
    }
    std::size_t count(DrawOp::Kind kind) const { return rec.of(kind).size(); }
    // Left edges of the picker squares drawn highlighted.
    std::vector<int> highlightedSquares() const {
        std::vector<int> xs;
        for (const auto& op : rec.of(DrawOp::FilledBox))
            if (op.x2 - op.x1 == 30 && op.fill == 0xC0C0C0) xs.push_back(op.x1);
        return xs;
    }
};

TEST_F(DigitPicker, TypedDigitsInLettersAndNumbersMode) {
    game.numbersMode = false;
    typeInto(2, 3, '1');  // not a digit key in letters mode: the picker stays open
    rec.pushChar('A');
    rec.pushChar('a');
    typeInto(4, 4, 'i');
    typeInto(2, 3, 27);   // Escape empties
    rec.pushStep([] { game.numbersMode = true; });
    typeInto(5, 1, 'c');
    rec.pushChar(13);
    rec.pushChar('7');
    playLoop();
    EXPECT_EQ(game.board(2, 3), 0);
    EXPECT_EQ(game.board(4, 4), 9);
    EXPECT_EQ(game.board(5, 1), 7);
    EXPECT_EQ(game.pickerHover, 7);
    EXPECT_EQ(game.digitCount[7], 1);
    EXPECT_FALSE(game.pickerActive);
    EXPECT_EQ(game.helpText, "Bitte ein Feld anklicken! ");
}

TEST_F(DigitPicker, MouseEntryHighlightsAndRemembersTheSquare) {
    left(cellX(3), cellY(2));
    move(squareX(3, 1), squareY(2, 1));
    move(squareX(3, 1) + 5, squareY(2, 1) + 5);  // same square: no redraw
    move(squareX(3, 5), squareY(2, 5));
    move(500, 300);                              // outside: nothing changes
    left(400, 500);                              // a left press outside is ignored
    left(squareX(3, 5), squareY(2, 5));
    left(cellX(7), cellY(7));
    rec.pushChar(27);
    playLoop();
    EXPECT_EQ(game.board(3, 2), 5);
    EXPECT_EQ(game.board(7, 7), 0);
    // Square 1, then square 5 of the first picker; the second picker opens with square 5 lit.
    int first = 29 - 16 + 120, second = 29 - 16 + 360;
    EXPECT_EQ(highlightedSquares(), (std::vector<int>{first, first + 30, second + 30}));
    EXPECT_EQ(count(DrawOp::Save), 2u) << "each picker saves its background once";
    EXPECT_EQ(count(DrawOp::Restore), 2u);
    EXPECT_EQ(count(DrawOp::Discard), 2u);
}

TEST_F(DigitPicker, RightClicksEmptyFilledCellsAndSkipGivens) {
    game.board(4, 5) = 8;
    game.board(6, 5) = game.givens(6, 5) = 2;
    right(cellX(4), cellY(5));
    right(cellX(6), cellY(5));
    left(cellX(6), cellY(5));
    playLoop();
    EXPECT_EQ(game.board(4, 5), 0);
    EXPECT_EQ(game.board(6, 5), 2);
    EXPECT_EQ(count(DrawOp::Save), 0u) << "no picker opened";
}

TEST_F(DigitPicker, NotesToggleAndRightClickRemovesAllNine) {
    right(cellX(5), cellY(5));
    left(squareX(5, 5), squareY(5, 5));
    right(cellX(5), cellY(5));
    rec.pushChar('3');
    right(cellX(5), cellY(5));
    left(squareX(5, 5), squareY(5, 5));
    rec.pushStep([] {
        EXPECT_FALSE(game.candidates(5, 5, 5)) << "toggled twice";
        EXPECT_TRUE(game.candidates(5, 5, 3));
    });
    right(cellX(5), cellY(5));
    rec.pushStep([this] { EXPECT_EQ(rec.lastTextAt(616, 515), "Bitte Kandidaten notieren!"); });
    rec.pushChar('9');
    right(cellX(5), cellY(5));
    right(100, 100);  // anywhere
    playLoop();
    EXPECT_EQ(game.board(5, 5), 0);
    for (int d = 1; d <= 9; ++d) EXPECT_FALSE(game.candidates(5, 5, d)) << d;
}

TEST_F(DigitPicker, BackgroundRestoredBeforeTheCellChangesWhileBusy) {
    left(cellX(1), cellY(1));
    move(squareX(1, 9), squareY(1, 9));
    move(squareX(1, 2), squareY(1, 2));
    left(squareX(1, 2), squareY(1, 2));
    playLoop();
    EXPECT_EQ(game.board(1, 1), 2);

    // Column 1: 16 pixels left of and above the cell, over the board frame.
    auto saves = rec.of(DrawOp::Save);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(std::tie(saves[0].x1, saves[0].y1, saves[0].x2, saves[0].y2), std::make_tuple(13, 29, 103, 119));
    std::size_t restore = 0, cellPaint = 0, lastSquare = 0;
    for (std::size_t i = 0; i < rec.ops.size(); ++i) {
        const DrawOp& op = rec.ops[i];
        if (op.kind == DrawOp::Save || op.kind == DrawOp::Restore) {
            EXPECT_TRUE(op.busy);
        }
        if (op.kind == DrawOp::Restore) {
            EXPECT_EQ(std::tie(op.x1, op.y1), std::make_tuple(13, 29));
            restore = i;
        }
        if (op.kind == DrawOp::FilledBox && op.x2 - op.x1 == 30) {
            EXPECT_TRUE(op.busy) << "picker squares are drawn while busy";
            lastSquare = i;
        }
        if (restore != 0 && cellPaint == 0 && op.kind == DrawOp::FilledBox && op.x1 == 30 && op.y1 == 46) cellPaint = i;
    }
    EXPECT_LT(lastSquare, restore);
    EXPECT_LT(restore, cellPaint) << "the cell is painted after the picker is gone";
    EXPECT_FALSE(rec.ops[cellPaint].busy);
    EXPECT_FALSE(game.drawingBusy);
}

TEST_F(DigitPicker, PickerGlyphOffsetsInLettersMode) {
    game.numbersMode = false;
    game.pickerHover = 9;
    drawDigitPicker(9, 9);
    EXPECT_EQ(rec.lastTextAt(616, 515), "Rechte Taste löscht Feld!");
    int x = 29 - 16 + 480, y = 45 - 16 + 480;
    EXPECT_EQ(rec.lastTextAt(x + 3, y + 1), "A");
    EXPECT_EQ(rec.lastTextAt(x + 30 + 3, y + 60 + 1), "H");
    EXPECT_EQ(rec.lastTextAt(x + 60 + 10, y + 60 + 1), "I");
    EXPECT_EQ(highlightedSquares(), std::vector<int>{x + 60});
}

TEST_F(DigitPicker, MouseMoveRoundsAndRedrawsOnlyAShownPicker) {
    Win_0_MouseMove(0, 0, 100.6, 200.4);
    EXPECT_EQ(std::tie(game.mouseX, game.mouseY), std::make_tuple(101, 200));
    EXPECT_TRUE(rec.ops.empty());

    game.pickerActive = true;
    game.pickerColumn = game.pickerRow = 2;
    game.pickerX = 73;  // square 1 spans x 73..102
    game.pickerY = 89;
    game.helpText = "Rechte Taste löscht Feld!";
    Win_0_MouseMove(0, 0, 102.4, 89.0);
    EXPECT_EQ(game.pickerHover, 1);
    Win_0_MouseMove(0, 0, 102.5, 89.0);
    EXPECT_EQ(game.pickerHover, 2);
    Win_0_MouseMove(0, 0, 162.6, 178.0);
    EXPECT_EQ(game.pickerHover, 2) << "163 is outside the 90-pixel picker";
    // While a menu command has the screen, the picker is not redrawn.
    game.helpText = "Bitte Menupunkt auswählen!";
    Win_0_MouseMove(0, 0, 80, 95);
    EXPECT_EQ(game.pickerHover, 2);
}

TEST_F(DigitPicker, OwnBoardEntriesBecomeGivensAndTheCountFollows) {
    typeInto(1, 1, '5');
    typeInto(2, 1, '6');
    rec.pushStep([this] { EXPECT_EQ(rec.lastTextAt(791, 414), "2 "); });
    right(cellX(2), cellY(1));   // removes the given
    right(cellX(3), cellY(1));   // not a given: nothing
    typeInto(1, 1, '8');         // replaces the given
    left(cellX(4), cellY(4));
    right(cellX(4), cellY(4));   // picker closed by the right button: nothing becomes a given
    typeInto(5, 5, '3');
    typeInto(5, 5, '0');         // "0" removes it again
    ownBoardLoop();
    EXPECT_TRUE(game.ownBoardMode);
    EXPECT_EQ(game.givens(1, 1), 8);
    EXPECT_EQ(game.board(1, 1), 8);
    EXPECT_EQ(game.givens(2, 1) + game.board(2, 1) + game.givens(4, 4) + game.givens(5, 5) + game.board(5, 5), 0);
    EXPECT_EQ(game.givenCount, 1);
    EXPECT_EQ(rec.lastTextAt(791, 414), "1 ");
}

TEST_F(DigitPicker, PickerReturnsAtOnceWhenTheProgramEnds) {
    left(cellX(3), cellY(3));
    rec.pushStep([this] { rec.quit(); });
    rec.pushChar('4');
    playLoop();
    EXPECT_EQ(game.board(3, 3), 0);
    EXPECT_FALSE(game.pickerActive || game.drawingBusy);
    EXPECT_EQ(game.pickerBackground, 0);
    EXPECT_EQ(rec.script.size(), 1u) << "nothing more is read";
}

TEST_F(DigitPicker, HeldButtonIsWaitedOutBeforeThePickerTakesClicks) {
    rec.mouseHeld = true;
    left(cellX(2), cellY(2));
    left(squareX(2, 1), squareY(2, 1));  // still the press that opened the picker
    rec.pushStep([this] { rec.mouseHeld = false; });
    left(squareX(2, 9), squareY(2, 9));
    playLoop();
    EXPECT_EQ(game.board(2, 2), 9);
}

TEST_F(DigitPicker, MenuCommandInsideThePickerLeavesItsCellAlone) {
    MainWindowHandlers handlers;
    handlers.mouseMove = [](int b, int s, double x, double y) { Win_0_MouseMove(b, s, x, y); };
    handlers.menuEvent = [](int id) { Win_0_MenuEvent(id); };
    rec.setMainWindowHandlers(handlers);
    left(cellX(1), cellY(1));
    rec.pushMenu(10);      // "Spielstart" while the picker of cell (1, 1) waits
    typeInto(3, 3, '8');   // played on the nested play screen
    rec.pushKeyUp(27);     // leaves it
    left(20, 40);          // where square 1 of the first picker was, off the board
    playLoop();
    EXPECT_EQ(game.board(3, 3), 8);
    EXPECT_EQ(game.board(1, 1), 0) << "the abandoned picker takes no click";
    EXPECT_FALSE(game.pickerActive || game.drawingBusy);
    // Each picker saved, restored and discarded its own area.
    auto restores = rec.of(DrawOp::Restore);
    ASSERT_EQ(count(DrawOp::Save), 2u);
    ASSERT_EQ(restores.size(), 2u);
    EXPECT_EQ(std::tie(restores[0].x1, restores[0].text), std::make_tuple(29 - 16 + 120, std::string("2")));
    EXPECT_EQ(std::tie(restores[1].x1, restores[1].y1, restores[1].text), std::make_tuple(13, 29, std::string("1")));
    EXPECT_EQ(count(DrawOp::Discard), 2u);
}

}  // namespace
}  // namespace nonari::test
