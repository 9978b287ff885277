// Cell entry through the digit picker, driven by scripted clicks, moves and typed characters in the play loops.
#include "app/commands.h"
#include "screen/digit_picker.h"
#include "screen/play_loops.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

class DigitPicker : public ScreenTest {
protected:
    void typeInto(int column, int row, int character) { left(cellX(column), cellY(row)), rec.pushChar(character); }
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
    rec.pushStep([] { EXPECT_EQ(game.board(2, 3), 1); });
    typeInto(4, 4, 'i');
    typeInto(2, 3, 27);  // Escape empties
    rec.pushStep([] { game.numbersMode = true; });
    typeInto(5, 1, 'c');
    rec.pushChar(13);
    rec.pushChar('7');
    playLoop();
    EXPECT_EQ(std::tie(game.board(2, 3), game.board(4, 4), game.board(5, 1)), std::make_tuple(0, 9, 7));
    EXPECT_EQ(std::make_pair(int{game.pickerHover}, int{game.digitCount[7]}), std::make_pair(7, 1));
    EXPECT_FALSE(game.pickerActive);
    EXPECT_EQ(game.helpText, "Bitte ein Feld anklicken! ");
}

TEST_F(DigitPicker, MouseEntryHighlightsAndRemembersTheSquare) {
    left(cellX(3), cellY(2));
    move(squareX(3, 1), squareY(2, 1));
    move(squareX(3, 1) + 5, squareY(2, 1) + 5);  // same square: no redraw
    move(squareX(3, 5), squareY(2, 5));
    move(500, 300);  // outside: nothing changes
    left(400, 500);  // a left press outside is ignored
    left(squareX(3, 5), squareY(2, 5));
    left(cellX(7), cellY(7));
    rec.pushChar(27);
    playLoop();
    EXPECT_EQ(std::tie(game.board(3, 2), game.board(7, 7)), std::make_tuple(5, 0));
    // Square 1, then square 5 of the first picker; the second picker opens with square 5 lit.
    const int first = 29 - 16 + 120, second = 29 - 16 + 360;
    EXPECT_EQ(highlightedSquares(), (std::vector<int>{first, first + 30, second + 30}));
    // Each picker saves its background once, restores it and lets it go, all while busy; the cell's
    // last paint is no longer busy.
    EXPECT_EQ(std::vector({count(DrawOp::Save), count(DrawOp::Restore), count(DrawOp::Discard)}),
              std::vector<std::size_t>(3, 2));
    const auto pickerOps = rec.select([](const DrawOp& o) {
        return o.kind == DrawOp::Save || o.kind == DrawOp::Restore || (o.kind == DrawOp::FilledBox && o.x2 - o.x1 == 30);
    });
    EXPECT_TRUE(std::all_of(pickerOps.begin(), pickerOps.end(), [](const DrawOp& o) { return o.busy; }));
    auto cell = rec.select([](const DrawOp& o) { return o.kind == DrawOp::FilledBox && o.x1 == 150 && o.y1 == 106; });
    ASSERT_FALSE(cell.empty());
    EXPECT_FALSE(cell.back().busy || game.drawingBusy);
}

TEST_F(DigitPicker, RightClicksEmptyCellsAndNotesToggle) {
    game.board(4, 5) = 8;
    game.board(6, 5) = game.givens(6, 5) = 2;
    right(cellX(4), cellY(5));  // empties the entry
    right(cellX(6), cellY(5));  // a given stays
    left(cellX(6), cellY(5));   // and opens no picker
    rec.pushStep([this] { EXPECT_EQ(count(DrawOp::Save), 0u); });
    // On an empty cell the right button opens the picker for notes.
    right(cellX(5), cellY(5));
    left(squareX(5, 5), squareY(5, 5));
    right(cellX(5), cellY(5));
    rec.pushChar('3');
    right(cellX(5), cellY(5));
    left(squareX(5, 5), squareY(5, 5));
    rec.pushStep([] { EXPECT_TRUE(!game.candidates(5, 5, 5) && game.candidates(5, 5, 3)) << "5 toggled twice"; });
    right(cellX(5), cellY(5));
    rec.pushStep([this] { EXPECT_EQ(rec.lastTextAt(616, 515), "Bitte Kandidaten notieren!"); });
    rec.pushChar('9');
    right(cellX(5), cellY(5));
    right(100, 100);  // a right press anywhere in the picker's wait removes all nine
    playLoop();
    EXPECT_EQ(std::tie(game.board(4, 5), game.board(6, 5), game.board(5, 5)), std::make_tuple(0, 2, 0));
    for (int d = 1; d <= 9; ++d) EXPECT_FALSE(game.candidates(5, 5, d)) << d;
}

TEST_F(DigitPicker, LetterGlyphsAndMouseMovesOverAShownPicker) {
    game.numbersMode = false;
    game.pickerHover = 9;
    drawDigitPicker(9, 9);
    EXPECT_EQ(rec.lastTextAt(616, 515), "Rechte Taste löscht Feld!");
    const int x = 29 - 16 + 480, y = 45 - 16 + 480;
    EXPECT_EQ(rec.lastTextAt(x + 3, y + 1) + rec.lastTextAt(x + 33, y + 61) + rec.lastTextAt(x + 70, y + 61), "AHI");
    EXPECT_EQ(highlightedSquares(), std::vector<int>{x + 60});

    // Moves round to whole pixels; square 1 spans x 493..522, and 583 lies outside the 90-pixel picker.
    game.pickerActive = true;
    game.pickerColumn = game.pickerRow = 9;
    Win_0_MouseMove(0, 0, 522.4, y);
    EXPECT_EQ(std::tie(game.pickerHover, game.mouseX, game.mouseY), std::make_tuple(1, 522, y));
    Win_0_MouseMove(0, 0, 522.5, y);
    Win_0_MouseMove(0, 0, 582.6, y);
    EXPECT_EQ(game.pickerHover, 2);
    // While a menu command has the screen, the picker is not redrawn.
    game.helpText = "Bitte Menupunkt auswählen!";
    rec.ops.clear();
    Win_0_MouseMove(0, 0, x + 5, y + 5);
    EXPECT_TRUE(game.pickerHover == 2 && rec.ops.empty());
}

TEST_F(DigitPicker, OwnBoardEntriesBecomeGivensAndTheCountFollows) {
    typeInto(1, 1, '5');
    typeInto(2, 1, '6');
    rec.pushStep([this] { EXPECT_EQ(rec.lastTextAt(791, 414), "2 "); });
    right(cellX(2), cellY(1));  // removes the given
    right(cellX(3), cellY(1));  // not a given: nothing
    typeInto(1, 1, '8');        // replaces the given
    left(cellX(4), cellY(4));
    right(cellX(4), cellY(4));  // picker closed by the right button: nothing becomes a given
    typeInto(5, 5, '3');
    typeInto(5, 5, '0');  // "0" removes it again
    ownBoardLoop();
    EXPECT_TRUE(game.ownBoardMode);
    EXPECT_EQ(std::tie(game.givens(1, 1), game.board(1, 1)), std::make_tuple(8, 8));
    EXPECT_EQ(game.givens(2, 1) + game.board(2, 1) + game.givens(4, 4) + game.givens(5, 5) + game.board(5, 5), 0);
    EXPECT_EQ(std::make_tuple(int{game.givenCount}, rec.lastTextAt(791, 414)), std::make_tuple(1, std::string("1 ")));
}

TEST_F(DigitPicker, HeldButtonIsWaitedOutAndAnEndingProgramReturnsAtOnce) {
    rec.mouseHeld = true;
    left(cellX(2), cellY(2));
    left(squareX(2, 1), squareY(2, 1));  // still the press that opened the picker
    rec.pushStep([this] { rec.mouseHeld = false; });
    left(squareX(2, 9), squareY(2, 9));
    left(cellX(3), cellY(3));
    rec.pushStep([this] { rec.quit(); });
    rec.pushChar('4');
    playLoop();
    EXPECT_EQ(std::tie(game.board(2, 2), game.board(3, 3)), std::make_tuple(9, 0));
    EXPECT_FALSE(game.pickerActive || game.drawingBusy || game.pickerBackground != 0);
    EXPECT_EQ(rec.script.size(), 1u) << "nothing more is read";
}

TEST_F(DigitPicker, MenuCommandInsideThePickerLeavesItsCellAloneAndTheLoopGoesOn) {
    MainWindowHandlers handlers;
    handlers.mouseMove = [](int b, int s, double x, double y) { Win_0_MouseMove(b, s, x, y); };
    handlers.menuEvent = [](int id) { Win_0_MenuEvent(id); };
    rec.setMainWindowHandlers(handlers);
    left(cellX(1), cellY(1));
    rec.pushMenu(10);     // "Spielstart" while the picker of cell (1, 1) waits
    typeInto(3, 3, '8');  // played on the nested play screen
    rec.pushKeyUp(27);    // leaves it
    left(20, 40);         // where square 1 of the first picker was, off the board
    typeInto(6, 6, '6');  // back on the outer play screen
    playLoop();
    EXPECT_EQ(std::tie(game.board(1, 1), game.board(3, 3), game.board(6, 6)), std::make_tuple(0, 8, 6))
        << "the abandoned picker takes no click";
    EXPECT_FALSE(game.pickerActive || game.drawingBusy);
    // Each picker saved, restored and discarded its own area.
    auto restores = rec.of(DrawOp::Restore);
    ASSERT_EQ(restores.size(), 3u);
    EXPECT_EQ(std::tie(restores[0].x1, restores[0].text), std::make_tuple(29 - 16 + 120, std::string("2")));
    EXPECT_EQ(std::tie(restores[1].x1, restores[1].y1, restores[1].text), std::make_tuple(13, 29, std::string("1")));
    EXPECT_EQ(std::vector({count(DrawOp::Save), count(DrawOp::Discard)}), std::vector<std::size_t>(2, 3));
}

}  // namespace
}  // namespace nonari::test
