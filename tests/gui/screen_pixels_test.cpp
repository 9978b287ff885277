// Pixels of the play screen on the Qt platform: frames, grid and block lines, cells, glyphs and the picker.
#include "app/game_state.h"
#include "screen/board_view.h"
#include "screen/digit_picker.h"
#include "screen/layout.h"
#include "screen/play_loops.h"
#include "screen/side_panels.h"
#include "tests/gui/platform_fixture.h"

#include <QTest>

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
    }
    void TearDown() override {
        pf->setMainWindowHandlers({});
        QtPlatformTest::TearDown();
    }

    // Bounding box of the pixels of one colour inside the region.
    static QRect inkOf(const QRect& region, Rgb ink) {
        QRect box;
        for (int y = region.top(); y <= region.bottom(); ++y)
            for (int x = region.left(); x <= region.right(); ++x)
                if (pixel(x, y) == ink) box = box.united(QRect(x, y, 1, 1));
        return box;
    }
    static QRect interior(int column, int row) {
        int left = 29 + (column - 1) * 60 + 1, top = 45 + (row - 1) * 60 + 1;
        return QRect(QPoint(left, top), QPoint(left + (column % 3 == 0 ? 57 : 58), top + (row % 3 == 0 ? 57 : 58)));
    }
    static QWidget* canvasWidget() { return qt_testing::canvas(); }
};

TEST_F(ScreenPixels, FirstScreenFramesGridAndBlockLines) {
    drawBoardPanel();
    drawHelpPanel();

    // Raised board frame: three light lines top and left, three dark lines bottom and right.
    for (int k = 0; k <= 2; ++k) {
        EXPECT_EQ(pixel(300, 16 + k), white) << k;
        EXPECT_EQ(pixel(20 + k, 300), white) << k;
        EXPECT_EQ(pixel(300, 634 - k), darkGrey) << k;
        EXPECT_EQ(pixel(577 - k, 300), darkGrey) << k;
    }
    EXPECT_EQ(pixel(300, 19), background);
    EXPECT_EQ(pixel(574, 300), background);
    // Sunken well of the button strip: dark above, light below.
    EXPECT_EQ(pixel(300, 595), darkGrey);
    EXPECT_EQ(pixel(300, 596), darkGrey);
    EXPECT_EQ(pixel(300, 626), white);
    EXPECT_EQ(pixel(300, 610), background);

    // White field with black 1-pixel cell lines and 2-pixel red block lines over them.
    EXPECT_EQ(pixel(60, 75), white);
    EXPECT_EQ(pixel(89, 75), black);
    EXPECT_EQ(pixel(88, 75), white);
    EXPECT_EQ(pixel(90, 75), white);
    EXPECT_EQ(pixel(60, 105), black);
    for (int x : {28, 29, 208, 209, 388, 389, 568, 569}) EXPECT_EQ(pixel(x, 75), red) << x;
    for (int y : {44, 45, 224, 225, 404, 405, 584, 585}) EXPECT_EQ(pixel(75, y), red) << y;
    EXPECT_EQ(pixel(207, 75), white);
    EXPECT_EQ(pixel(210, 75), white);
    EXPECT_EQ(pixel(27, 75), background);

    // Titles: black ink with a white highlight on the background.
    QRect title(QPoint(225, 18), QPoint(360, 43));
    EXPECT_FALSE(inkOf(title, black).isEmpty());
    EXPECT_FALSE(inkOf(title, white).isEmpty());
    // Side panels' white fields, and the help panel's.
    for (QPoint p : {QPoint(612, 268), QPoint(828, 360), QPoint(828, 452), QPoint(828, 538), QPoint(806, 625)})
        EXPECT_EQ(pixel(p.x(), p.y()), white) << p.x() << "," << p.y();
    EXPECT_FALSE(inkOf(QRect(QPoint(626, 326), QPoint(830, 360)), black).isEmpty()) << "status text";
    EXPECT_FALSE(inkOf(QRect(QPoint(616, 515), QPoint(830, 540)), black).isEmpty()) << "help text";
}

TEST_F(ScreenPixels, DrawnBoardGroundsAndGlyphs) {
    drawBoardPanel();
    game.givens(1, 1) = 5;
    game.board(1, 1) = 5;
    game.board(2, 1) = 3;
    drawBoard();

    QRect given = interior(1, 1), entry = interior(2, 1);
    EXPECT_EQ(pixel(given.left(), given.top()), lightGrey);
    EXPECT_EQ(pixel(given.right(), given.bottom()), lightGrey);
    EXPECT_EQ(pixel(entry.left(), entry.top()), white);
    EXPECT_EQ(pixel(89, 75), black) << "the cell line between them stays";
    // The glyph ink lies well inside the interior, clear of its edges.
    QRect ink = inkOf(given, black);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(given.adjusted(1, 1, -1, -1).contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_GT(ink.height(), 30);
    QRect entryInk = inkOf(entry, black);
    ASSERT_FALSE(entryInk.isEmpty());
    EXPECT_TRUE(entry.adjusted(1, 1, -1, -1).contains(entryInk));

    // Letters mode: "I" starts 14 pixels further right than a letter drawn at the common offset.
    game.numbersMode = false;
    drawEntryCell(5, 2, 9);
    QRect cellI = interior(5, 2), reference = interior(7, 2);
    drawEntryCell(7, 2, 0);
    selectFont(40);
    pf->setPenColour(black);
    pf->setTextOpaque(false);
    pf->drawText(reference.left() + 5, reference.top() + 1, "I");
    pf->setTextOpaque(true);
    QRect inkI = inkOf(cellI, black), inkReference = inkOf(reference, black);
    ASSERT_FALSE(inkI.isEmpty());
    EXPECT_EQ(inkI.left() - cellI.left(), inkReference.left() - reference.left() + 14);
    EXPECT_EQ(inkI.top() - cellI.top(), inkReference.top() - reference.top());
}

TEST_F(ScreenPixels, ColumnOnePickerRestoresTheFrameExactly) {
    drawBoardPanel();
    game.helpText = "Bitte ein Feld anklicken!";
    drawHelpPanel();
    drawBoard();
    QImage before = image().copy();

    game.noteMode = false;
    game.pickerHover = 2;
    drawDigitPicker(1, 1);
    EXPECT_EQ(pixel(13, 29), black) << "the picker's corner lies over the board frame";
    EXPECT_EQ(pixel(50, 40), lightGrey) << "square 2 is highlighted";
    EXPECT_NE(image().copy(13, 29, 91, 91), before.copy(13, 29, 91, 91));

    later([] { QTest::keyClick(canvasWidget(), Qt::Key_7); });
    runDigitPicker(1, 1);
    EXPECT_EQ(game.board(1, 1), 7);
    EXPECT_FALSE(game.drawingBusy);
    QRect cell = interior(1, 1);
    int differences = 0;
    for (int y = 29; y <= 119; ++y)
        for (int x = 13; x <= 103; ++x)
            if (!cell.contains(x, y) && image().pixel(x, y) != before.pixel(x, y)) ++differences;
    EXPECT_EQ(differences, 0);
    EXPECT_FALSE(inkOf(cell, black).isEmpty()) << "the entered digit is drawn";
}

TEST_F(ScreenPixels, PlayLoopTakesClicksAndKeys) {
    drawBoardPanel();
    // Click a cell, choose square 4 with the mouse, then leave with Escape.
    later([] { QTest::mouseClick(canvasWidget(), Qt::LeftButton, {}, QPoint(29 + 150, 45 + 150)); }, 20);
    later([] { QTest::mouseMove(canvasWidget(), QPoint(29 - 16 + 120 + 15, 45 - 16 + 120 + 45)); }, 60);
    later([] { QTest::mouseClick(canvasWidget(), Qt::LeftButton, {}, QPoint(29 - 16 + 120 + 15, 45 - 16 + 120 + 45)); },
          100);
    later([] { QTest::keyClick(canvasWidget(), Qt::Key_Escape); }, 140);
    QTimer ticker;  // keeps the wait waking should an event go astray
    ticker.start(500);
    playLoop();
    EXPECT_EQ(game.board(3, 3), 4);
    EXPECT_EQ(pixel(476, 598), darkGrey) << "Abbruch is left pressed";
    EXPECT_EQ(pixel(30, 598), white) << "the other buttons are raised";
    EXPECT_FALSE(inkOf(interior(3, 3), black).isEmpty());
}

}  // namespace
}  // namespace nonari::test
