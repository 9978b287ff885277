// Pixels of the first play screen on the Qt platform: frames, white field, cell and block lines, repainting.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"
#include "screen/layout.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"

namespace nonari::test {
namespace {

constexpr Rgb black = 0x000000, white = 0xFFFFFF, red = 0xFF0000, darkGrey = 0x404040, background = 0xB4C9D0;

using ScreenPixels = QtPlatformTest;

TEST_F(ScreenPixels, FirstScreenFramesGridAndBlockLinesAndAFullRepaintShowsTheBackingImage) {
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
