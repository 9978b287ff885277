// Font choice and shadow titles, checked on the recorded drawing calls.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/layout.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

using ScreenLayout = ScreenTest;

TEST_F(ScreenLayout, UnknownFontNumbersAndTheLargeFontSwitch) {
    for (int number : {16, 12, 0, -3}) EXPECT_EQ(screenFont(number).face, "System") << number;
    // Only font 8 measures the system font, above 16 pixels, and the switch never turns back.
    for (auto [height, number, large] : {std::tuple{16, 8, false}, {20, 18, false}, {20, 8, true}, {12, 8, true}}) {
        rec.fixedFontHeight = height;
        selectFont(number);
        EXPECT_EQ(game.screen.largeFonts, large) << height << " " << number;
    }
}

TEST_F(ScreenLayout, ShadowTitleLeavesTheDrawingStateAsItFoundIt) {
    drawShadowText(16, Black, 687, 219, "STATISTIK:");
    auto texts = rec.of(DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(std::make_pair(texts[0].opaque, texts[1].raster), std::make_pair(false, RasterMode::XorPen));
    EXPECT_EQ(std::tie(rec.now.raster, rec.now.opaque, rec.now.font.face),
              std::make_tuple(RasterMode::CopyPen, true, std::string("Terminal")));
}

}  // namespace
}  // namespace nonari::test
