// Pixels of the play screen on the Qt platform: frames, grid and block lines, cells, glyphs and the picker.
#include "app/game_state.h"
#include "screen/board_view.h"
#include "screen/digit_picker.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "tests/gui/platform_fixture.h"

namespace nonari::test {
namespace {

constexpr Rgb black = 0x000000, white = 0xFFFFFF, red = 0xFF0000, lightGrey = 0xC0C0C0, darkGrey = 0x404040,
              background = 0xB4C9D0;

class ScreenPixels : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        MainWindowHandlers handlers;
        handlers.mouseMove = [](int button, int shift, double x, double y) { Win_0_MouseMove(button, shift, x, y); };
        pf->setMainWindowHandlers(handlers);
        image().fill(QColor(0xB4, 0xC9, 0xD0));
        drawBoardPanel();
    }

    // Bounding box of the pixels of one colour inside the region.
    static QRect inkOf(const QRect& region, Rgb ink) { return inkBox(region, ink, false); }
    // The inside of a board cell, within its cell and block lines.
    static QRect interior(int column, int row) {
        int left = 29 + (column - 1) * 60 + 1, top = 45 + (row - 1) * 60 + 1;
        return QRect(QPoint(left, top), QPoint(left + (column % 3 == 0 ? 57 : 58), top + (row % 3 == 0 ? 57 : 58)));
    }
};

TEST_F(ScreenPixels, FirstScreenFramesGridAndBlockLines) {
    // Raised board frame: three light lines top and left, three dark lines bottom and right.
    EXPECT_EQ(inkOf(QRect(300, 15, 1, 5), white), QRect(300, 16, 1, 3));
    EXPECT_EQ(inkOf(QRect(19, 300, 5, 1), white), QRect(20, 300, 3, 1));
    EXPECT_EQ(inkOf(QRect(300, 631, 1, 5), darkGrey), QRect(300, 632, 1, 3));
    EXPECT_EQ(inkOf(QRect(574, 300, 5, 1), darkGrey), QRect(575, 300, 3, 1));
    EXPECT_EQ(pixel(574, 300), background);
    // Sunken well of the button strip: dark above, light below.
    EXPECT_EQ(inkOf(QRect(300, 594, 1, 4), darkGrey), QRect(300, 595, 1, 2));
    EXPECT_EQ(std::make_pair(pixel(300, 610), pixel(300, 626)), std::make_pair(background, white));

    // White field with black 1-pixel cell lines and 2-pixel red block lines over them.
    EXPECT_EQ(inkOf(QRect(30, 75, 178, 1), black), QRect(QPoint(89, 75), QPoint(149, 75)));  // cell lines 89, 149
    for (int x : {60, 88, 90, 207, 210}) EXPECT_EQ(pixel(x, 75), white) << x;
    EXPECT_EQ(pixel(60, 105), black);
    for (int at : {28, 29, 208, 209, 388, 389, 568, 569}) {  // block lines at x and, 16 lower, at y
        EXPECT_EQ(pixel(at, 75), red) << at;
        EXPECT_EQ(pixel(75, at + 16), red) << at;
    }
    EXPECT_EQ(pixel(27, 75), background);
}

TEST_F(ScreenPixels, DrawnBoardGroundsAndGlyphsAndTheLettersModeI) {
    game.givens(1, 1) = game.board(1, 1) = 5;
    game.board(2, 1) = 3;
    drawBoard();
    // A given fills its interior light grey, an entry white; the glyph lies inside, clear of the edges.
    for (const auto& [cell, ground] : {std::pair{interior(1, 1), lightGrey}, std::pair{interior(2, 1), white}}) {
        EXPECT_EQ(std::make_pair(pixel(cell.left(), cell.top()), pixel(cell.right(), cell.bottom())),
                  std::make_pair(ground, ground));
        const QRect ink = inkOf(cell, black);
        EXPECT_GT(ink.height(), 30);
        EXPECT_TRUE(cell.adjusted(1, 1, -1, -1).contains(ink));
    }
    EXPECT_EQ(pixel(89, 75), black) << "the cell line between them stays";

    // Letters mode: "I" starts 14 pixels further right than a letter drawn at the common offset.
    game.numbersMode = false;
    drawEntryCell(5, 2, 9);
    const QRect cellI = interior(5, 2), reference = interior(7, 2);
    drawEntryCell(7, 2, 0);
    selectFont(40);
    pf->setPenColour(black);
    pf->setTextOpaque(false);
    pf->drawText(reference.left() + 5, reference.top() + 1, "I");
    pf->setTextOpaque(true);
    const QRect inkI = inkOf(cellI, black), inkReference = inkOf(reference, black);
    ASSERT_FALSE(inkI.isEmpty());
    EXPECT_EQ(inkI.topLeft() - cellI.topLeft(), inkReference.topLeft() - reference.topLeft() + QPoint(14, 0));
}

TEST_F(ScreenPixels, ColumnOnePickerTakesAMouseChoiceAndRestoresTheFrameExactly) {
    game.helpText = "Bitte ein Feld anklicken!";
    drawHelpPanel();
    drawBoard();
    const QImage before = image().copy();
    game.noteMode = false;
    game.pickerHover = 2;
    drawDigitPicker(1, 1);
    EXPECT_EQ(pixel(13, 29), black) << "the picker's corner lies over the board frame";
    EXPECT_EQ(pixel(50, 40), lightGrey) << "square 2 is highlighted";

    const QPoint square7(13 + 15, 29 + 75);  // moved onto, then clicked
    later([=] { QTest::mouseMove(qt_testing::canvas(), square7); }, 20);
    later([=] { QTest::mouseClick(qt_testing::canvas(), Qt::LeftButton, {}, square7); }, 60);
    QTimer ticker;  // keeps the wait waking should an event go astray
    ticker.start(500);
    runDigitPicker(1, 1);
    EXPECT_EQ(game.board(1, 1), 7);
    EXPECT_FALSE(game.drawingBusy);
    const QRect cell = interior(1, 1);
    int differences = 0;
    for (int y = 29; y <= 119; ++y)
        for (int x = 13; x <= 103; ++x)
            if (!cell.contains(x, y) && image().pixel(x, y) != before.pixel(x, y)) ++differences;
    EXPECT_EQ(differences, 0);
    EXPECT_FALSE(inkOf(cell, black).isEmpty()) << "the entered digit is drawn";
}

}  // namespace
}  // namespace nonari::test
