// Cell entry through the digit picker, driven by scripted clicks, moves and typed characters in the play loops.
#include "app/commands.h"
#include "screen/digit_picker.h"
#include "screen/play_loops.h"
#include "tests/unit/screen_recorder.h"

#include <algorithm>

namespace nonari::test {
namespace {

constexpr Rgb lightGrey = 0xC0C0C0;

class DigitPicker : public ScreenTest {
protected:
    // Enters a digit by left click on the cell and a typed character.
    void typeInto(int column, int row, int character) {
        left(cellX(column), cellY(row));
        rec.pushChar(character);
    }
    int count(DrawOp::Kind kind) const { return static_cast<int>(rec.of(kind).size()); }
    // Picker squares drawn highlighted, by their left x.
    std::vector<int> highlightedSquares() const {
        std::vector<int> xs;
        for (const auto& op : rec.of(DrawOp::FilledBox))
            if (op.x2 - op.x1 == 30 && op.fill == lightGrey) xs.push_back(op.x1);
        return xs;
    }
};

TEST_F(DigitPicker, LettersModeTakesAToIAndEscapeEmpties) {
    game.numbersMode = false;
    typeInto(2, 3, '1');  // ignored: the picker stays open
    rec.pushChar('A');    // upper case is not a digit key either
    rec.pushChar('a');
    typeInto(4, 4, 'i');
    typeInto(2, 3, 27);
    typeInto(6, 6, 'c');
    playLoop();
    EXPECT_EQ(game.board(2, 3), 0);
    EXPECT_EQ(game.board(4, 4), 9);
    EXPECT_EQ(game.board(6, 6), 3);
    EXPECT_EQ(game.pickerHover, 3);
    EXPECT_FALSE(game.pickerActive);
    EXPECT_EQ(game.helpText, "Bitte ein Feld anklicken! ");
}

TEST_F(DigitPicker, NumbersModeTakesDigitsOnly) {
    typeInto(1, 1, 'a');
    rec.pushChar('7');
    typeInto(9, 9, '0');
    typeInto(5, 1, 13);
    rec.pushChar('4');
    playLoop();
    EXPECT_EQ(game.board(1, 1), 7);
    EXPECT_EQ(game.board(9, 9), 0);
    EXPECT_EQ(game.board(5, 1), 4);
    EXPECT_EQ(game.digitCount[7], 1);
    EXPECT_EQ(game.digitCount[4], 1);
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
    EXPECT_EQ(game.pickerHover, 0) << "Escape enters 0 and keeps it highlighted";

    // First picker: drawn once, redrawn for square 1 and square 5; second picker opens with 5 lit.
    int pickerLeft3 = 29 - 16 + 120, pickerLeft7 = 29 - 16 + 360;
    std::vector<int> expected{pickerLeft3, pickerLeft3 + 30, pickerLeft7 + 30};
    EXPECT_EQ(highlightedSquares(), expected);
    EXPECT_EQ(count(DrawOp::Save), 2) << "each picker saves its background once";
    EXPECT_EQ(count(DrawOp::Restore), 2);
    EXPECT_EQ(count(DrawOp::Discard), 2);
}

TEST_F(DigitPicker, RightClicksEmptyFilledCellsAndSkipGivens) {
    game.board(4, 5) = 8;
    game.board(6, 5) = 2;
    game.givens(6, 5) = 2;
    right(cellX(4), cellY(5));
    right(cellX(6), cellY(5));
    left(cellX(6), cellY(5));
    playLoop();
    EXPECT_EQ(game.board(4, 5), 0);
    EXPECT_EQ(game.board(6, 5), 2);
    EXPECT_EQ(count(DrawOp::Save), 0) << "no picker opened";
}

TEST_F(DigitPicker, NotesToggleAndRightClickRemovesAllNine) {
    right(cellX(5), cellY(5));
    left(squareX(5, 5), squareY(5, 5));
    right(cellX(5), cellY(5));
    rec.pushChar('3');
    right(cellX(5), cellY(5));
    left(squareX(5, 5), squareY(5, 5));
    rec.pushStep([this] {
        EXPECT_FALSE(game.candidates(5, 5, 5)) << "toggled twice";
        EXPECT_TRUE(game.candidates(5, 5, 3));
    });
    right(cellX(5), cellY(5));
    rec.pushStep([this] {
        EXPECT_EQ(rec.lastTextAt(616, 515), "Bitte Kandidaten notieren!");
        EXPECT_TRUE(game.pickerActive);
    });
    rec.pushChar('9');
    right(cellX(5), cellY(5));
    right(100, 100);  // right click anywhere clears all notes of the cell
    playLoop();
    EXPECT_EQ(game.board(5, 5), 0);
    for (int d = 1; d <= 9; ++d) EXPECT_FALSE(game.candidates(5, 5, d)) << d;
    EXPECT_TRUE(game.pickerCleared);
}

TEST_F(DigitPicker, BackgroundRestoredBeforeTheCellChangesWhileBusy) {
    left(cellX(1), cellY(1));
    move(squareX(1, 9), squareY(1, 9));
    move(squareX(1, 2), squareY(1, 2));
    left(squareX(1, 2), squareY(1, 2));
    playLoop();

    auto saves = rec.of(DrawOp::Save);
    ASSERT_EQ(saves.size(), 1u);
    // Column 1: 16 pixels left of and above the cell, over the board frame.
    EXPECT_EQ(saves[0].x1, 13);
    EXPECT_EQ(saves[0].y1, 29);
    EXPECT_EQ(saves[0].x2, 103);
    EXPECT_EQ(saves[0].y2, 119);
    auto restores = rec.of(DrawOp::Restore);
    ASSERT_EQ(restores.size(), 1u);
    EXPECT_EQ(restores[0].x1, 13);
    EXPECT_EQ(restores[0].y1, 29);

    std::size_t save = 0, restore = 0, cellPaint = 0, lastSquare = 0;
    for (std::size_t i = 0; i < rec.ops.size(); ++i) {
        const DrawOp& op = rec.ops[i];
        if (op.kind == DrawOp::Save) save = i;
        if (op.kind == DrawOp::Restore) restore = i;
        if (op.kind == DrawOp::FilledBox && op.x2 - op.x1 == 30) {
            lastSquare = i;
            EXPECT_TRUE(op.busy) << "picker squares are drawn while busy";
        }
        if (op.kind == DrawOp::FilledBox && op.x1 == 30 && op.y1 == 46 && op.x2 == 88 && i > restore && restore != 0)
            cellPaint = cellPaint == 0 ? i : cellPaint;
    }
    EXPECT_TRUE(rec.ops[save].busy);
    EXPECT_TRUE(rec.ops[restore].busy);
    EXPECT_LT(lastSquare, restore);
    EXPECT_LT(restore, cellPaint) << "the cell is painted after the picker is gone";
    EXPECT_FALSE(rec.ops[cellPaint].busy);
    EXPECT_FALSE(game.drawingBusy);
    EXPECT_EQ(game.board(1, 1), 2);
    // Nine squares drawn three times (open, square 9, square 2).
    EXPECT_EQ(std::count_if(rec.ops.begin(), rec.ops.end(),
                            [](const DrawOp& op) { return op.kind == DrawOp::FilledBox && op.x2 - op.x1 == 30; }),
              27);
}

TEST_F(DigitPicker, PickerGlyphOffsets) {
    game.numbersMode = false;
    game.pickerHover = 9;
    game.noteMode = false;
    drawDigitPicker(9, 9);
    EXPECT_EQ(game.pickerX, 29 - 16 + 480);
    EXPECT_EQ(game.pickerY, 45 - 16 + 480);
    EXPECT_EQ(rec.lastTextAt(616, 515), "Rechte Taste löscht Feld!");
    auto texts = rec.of(DrawOp::Text);
    std::vector<DrawOp> glyphs;
    std::copy_if(texts.begin(), texts.end(), std::back_inserter(glyphs), [](const DrawOp& op) { return op.font.height == 30; });
    ASSERT_EQ(glyphs.size(), 9u);
    EXPECT_EQ(glyphs[0].text, "A");
    EXPECT_EQ(glyphs[0].x1, game.pickerX + 3);
    EXPECT_EQ(glyphs[0].y1, game.pickerY + 1);
    EXPECT_EQ(glyphs[8].text, "I");
    EXPECT_EQ(glyphs[8].x1, game.pickerX + 60 + 10);
    EXPECT_EQ(glyphs[8].y1, game.pickerY + 60 + 1);
    EXPECT_EQ(glyphs[4].raster, RasterMode::MergePen);
    EXPECT_EQ(highlightedSquares(), std::vector<int>{game.pickerX + 60});

    game.numbersMode = true;
    game.pickerBackground = 0;
    rec.clearOps();
    drawDigitPicker(1, 1);
    EXPECT_EQ(rec.lastTextAt(13 + 6, 29 + 1), "1");
    EXPECT_EQ(rec.lastTextAt(13 + 60 + 6, 29 + 60 + 1), "9");
}

TEST_F(DigitPicker, MouseMoveRoundsAndTracksOutsideThePicker) {
    Win_0_MouseMove(0, 0, 100.6, 200.4);
    EXPECT_EQ(game.mouseX, 101);
    EXPECT_EQ(game.mouseY, 200);
    EXPECT_TRUE(rec.ops.empty());

    game.pickerActive = true;
    game.pickerColumn = 2;
    game.pickerRow = 2;
    game.pickerX = 29 - 16 + 60;
    game.pickerY = 45 - 16 + 60;
    game.helpText = "Rechte Taste löscht Feld!";
    // Square 1 spans x 73..102.
    Win_0_MouseMove(0, 0, 102.4, 89.0);
    EXPECT_EQ(game.pickerHover, 1);
    Win_0_MouseMove(0, 0, 102.5, 89.0);
    EXPECT_EQ(game.pickerHover, 2);
    Win_0_MouseMove(0, 0, 162.6, 178.0);
    EXPECT_EQ(game.pickerHover, 2) << "163 is outside the 90-pixel picker";
    EXPECT_EQ(game.mouseX, 163);
    // While a menu command has the screen, the picker is not redrawn.
    game.helpText = "Bitte Menupunkt auswählen!";
    Win_0_MouseMove(0, 0, 80, 95);
    EXPECT_EQ(game.pickerHover, 2);
}

TEST_F(DigitPicker, OwnBoardEntriesBecomeGivensAndTheCountFollows) {
    typeInto(1, 1, '5');
    typeInto(2, 1, '6');
    rec.pushStep([this] {
        EXPECT_EQ(game.givenCount, 2);
        EXPECT_EQ(rec.lastTextAt(791, 414), "2 ");
    });
    right(cellX(2), cellY(1));   // removes the given
    right(cellX(3), cellY(1));   // nothing: not a given
    typeInto(1, 1, '8');         // replaces the given
    left(cellX(4), cellY(4));
    right(cellX(4), cellY(4));   // picker closed by the right button: nothing becomes a given
    typeInto(5, 5, '3');
    typeInto(5, 5, '0');         // "0" removes it again
    ownBoardLoop();
    EXPECT_TRUE(game.ownBoardMode);
    EXPECT_EQ(game.givens(1, 1), 8);
    EXPECT_EQ(game.board(1, 1), 8);
    EXPECT_EQ(game.givens(2, 1), 0);
    EXPECT_EQ(game.board(2, 1), 0);
    EXPECT_EQ(game.givens(4, 4), 0);
    EXPECT_EQ(game.givens(5, 5), 0);
    EXPECT_EQ(game.board(5, 5), 0);
    EXPECT_EQ(game.givenCount, 1);
    EXPECT_EQ(rec.lastTextAt(791, 414), "1 ");
    EXPECT_FALSE(game.noteMode);
}

TEST_F(DigitPicker, PickerReturnsAtOnceWhenTheProgramEnds) {
    left(cellX(3), cellY(3));
    rec.pushStep([this] { rec.quit(); });
    rec.pushChar('4');
    playLoop();
    EXPECT_EQ(game.board(3, 3), 0);
    EXPECT_FALSE(game.pickerActive);
    EXPECT_FALSE(game.drawingBusy);
    EXPECT_EQ(game.pickerBackground, 0);
    EXPECT_EQ(rec.script.size(), 1u) << "nothing more is read";
}

TEST_F(DigitPicker, HeldButtonIsWaitedOutBeforeThePickerTakesClicks) {
    rec.mouseHeld = true;
    left(cellX(2), cellY(2));
    // Still held: this press belongs to the click that opened the picker.
    left(squareX(2, 1), squareY(2, 1));
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
    EXPECT_FALSE(game.pickerActive);
    EXPECT_FALSE(game.drawingBusy);

    // Each picker saved and restored its own area.
    auto saves = rec.of(DrawOp::Save), restores = rec.of(DrawOp::Restore), discards = rec.of(DrawOp::Discard);
    ASSERT_EQ(saves.size(), 2u);
    ASSERT_EQ(restores.size(), 2u);
    EXPECT_EQ(saves[1].x1, 29 - 16 + 120);
    EXPECT_EQ(restores[0].x1, 29 - 16 + 120);
    EXPECT_EQ(restores[0].text, "2");
    EXPECT_EQ(restores[1].x1, 13);
    EXPECT_EQ(restores[1].y1, 29);
    EXPECT_EQ(restores[1].text, "1");
    EXPECT_EQ(discards.size(), 2u);
}

}  // namespace
}  // namespace nonari::test
