// Pixel checks of the Qt platform's drawing: raster modes, saved areas, text cells and umlauts, the first play screen.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"
#include "screen/layout.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF, grey = 0xC0C0C0, teal = 0x008080, black = 0x000000, red = 0xFF0000,
              darkGrey = 0x404040, background = 0xB4C9D0;

const FontRequest terminal{"Terminal", 12, 8, 400, true};

using DrawingTest = QtPlatformTest;

TEST_F(DrawingTest, CopyXorAndMergeModesAndSavedAreasComeBackPixelForPixel) {
    pf->setPenColour(teal);
    pf->setFillColour(grey);
    pf->drawFilledBox(10, 10, 300, 200);  // copy mode: both corners and the outline belong to the box
    EXPECT_EQ(inkBox(QRect(0, 0, 400, 300), white), QRect(QPoint(10, 10), QPoint(300, 200)));
    pf->selectFont(FontRequest{"ARIAL", 58, 32, 200});
    pf->drawText(20, 40, "8");
    const QImage before = image().copy();

    pf->setRasterMode(RasterMode::XorPen);
    pf->setPenColour(0x00FF80), pf->setFillColour(0x804020);
    for (int round = 0; round < 2; ++round) {  // XOR twice restores
        pf->drawLine(5, 5, 250, 190);
        pf->drawBox(20, 30, 280, 180);
        pf->drawFilledBox(100, 50, 200, 150);
        if (round == 0) {  // corners belong to two edges but change once
            EXPECT_EQ(std::make_tuple(pixel(20, 30), pixel(100, 50), pixel(150, 100)),
                      std::make_tuple(grey ^ 0x00FF80, grey ^ 0x00FF80, grey ^ 0x804020));
        }
    }
    EXPECT_EQ(image(), before);

    SavedAreaId area = pf->saveArea(13, 16, 103, 106);
    pf->drawFilledBox(0, 0, 110, 110);
    pf->restoreArea(area, 13, 16);  // still in XOR mode
    EXPECT_EQ(image().copy(13, 16, 91, 91), before.copy(13, 16, 91, 91));
    EXPECT_NE(pixel(12, 16), before.pixel(12, 16) & 0xFFFFFFu);  // outside the area the XOR stays
    pf->restoreArea(area, 800, 600);  // elsewhere, clipped at the canvas edge
    EXPECT_EQ(image().copy(800, 600, 62, 74), before.copy(13, 16, 62, 74));

    pf->setRasterMode(RasterMode::MergePen);
    pf->setPenColour(0x00FF00);
    pf->drawLine(15, 190, 290, 190);
    EXPECT_EQ(std::make_pair(pixel(100, 190), pixel(100, 191)), std::make_pair(grey | 0x00FF00, grey));
}

TEST_F(DrawingTest, OpaqueAndTransparentTextFixedFacesAdvanceEightPixelsAndUmlautsShow) {
    pf->selectFont(terminal);
    pf->setFillColour(grey);
    pf->setTextOpaque(true);
    pf->drawText(100, 50, " x ");
    EXPECT_EQ(inkBox(QRect(90, 40, 50, 40), white), QRect(100, 50, 24, 12));  // 3 cells of 8 x 12
    pf->setTextOpaque(false);
    pf->drawText(100, 100, " x ");
    const QRect ink = inkBox(QRect(90, 90, 50, 40), white);
    EXPECT_TRUE(!ink.isEmpty() && QRect(108, 100, 8, 12).contains(ink)) << "only the x is inked";

    for (const FontRequest& f : {terminal, FontRequest{"Fixedsys", 0, 0, 400, false, 9}}) {
        image().fill(Qt::white);
        pf->selectFont(f);
        pf->drawText(200, 200, "MMMM");
        const QImage first = image().copy(200, 190, 8, 40);
        EXPECT_FALSE(inkBox(QRect(200, 190, 8, 40), white).isEmpty()) << f.face;
        for (int i = 1; i < 4; ++i) EXPECT_EQ(image().copy(200 + 8 * i, 190, 8, 40), first) << f.face << " " << i;
    }

    auto render = [&](const char* text) {
        image().fill(Qt::white);
        pf->drawText(50, 50, text);
        return image().copy(40, 40, 60, 80);
    };
    for (const FontRequest& f : {terminal, FontRequest{"ARIAL", 26, 14, 200},
                               FontRequest{"System", 0, 0, 400, false, 9.75}}) {
        pf->selectFont(f);
        const QImage missing = render("\xF4\x8F\xBF\xBD");  // a code point no font has
        for (const auto& [umlaut, plain] : {std::pair{"ä", "a"}, std::pair{"ß", "B"}, std::pair{"Ü", "U"}})
            EXPECT_TRUE(render(umlaut) != missing && render(umlaut) != render(plain)) << umlaut << " in " << f.face;
    }
}

TEST_F(DrawingTest, FirstScreenFramesGridAndBlockLinesAndAFullRepaintShowsTheBackingImage) {
    resetGameState();
    image().fill(QColor(0xB4, 0xC9, 0xD0));
    drawBoardPanel();
    auto inkOf = [](const QRect& region, Rgb ink) { return inkBox(region, ink, false); };
    // Raised board frame: three light lines top and left, three dark lines bottom and right.
    EXPECT_EQ(inkOf(QRect(300, 15, 1, 5), white), QRect(300, 16, 1, 3));
    EXPECT_EQ(inkOf(QRect(19, 300, 5, 1), white), QRect(20, 300, 3, 1));
    EXPECT_EQ(inkOf(QRect(300, 631, 1, 5), darkGrey), QRect(300, 632, 1, 3));
    EXPECT_EQ(inkOf(QRect(574, 300, 5, 1), darkGrey), QRect(575, 300, 3, 1));

    // White field with black 1-pixel cell lines and 2-pixel red block lines over them.
    EXPECT_EQ(inkOf(QRect(30, 75, 178, 1), black), QRect(QPoint(89, 75), QPoint(149, 75)));  // cell lines 89, 149
    for (int x : {60, 88, 90, 207}) EXPECT_EQ(pixel(x, 75), white) << x;
    for (int at : {28, 29, 208, 209, 568, 569}) {  // block lines at x and, 16 lower, at y
        EXPECT_EQ(pixel(at, 75), red) << at;
        EXPECT_EQ(pixel(75, at + 16), red) << at;
    }
    EXPECT_EQ(pixel(27, 75), background);

    // A window that was covered paints itself from the backing image alone.
    const QImage shown = qt_testing::canvas()->grab().toImage().convertToFormat(image().format());
    EXPECT_EQ(shown, image().copy(shown.rect()));
}

}  // namespace
}  // namespace nonari::test
