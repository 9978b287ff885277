// Font choice, shadow titles and the board panel's grid, checked on the recorded drawing calls.
#include "screen/layout.h"
#include "tests/unit/screen_recorder.h"

#include <algorithm>

namespace nonari::test {
namespace {

class ScreenLayout : public ScreenTest {};

TEST_F(ScreenLayout, UnknownFontNumbersAndTheLargeFontSwitch) {
    for (int number : {16, 12, 0, -3})
        EXPECT_EQ(screenFont(number).face, "System") << number;
    // Only font 8 measures the system font, above 16 pixels, and the switch never turns back.
    rec.fixedFontHeight = 16;
    selectFont(8);
    EXPECT_FALSE(game.largeFonts);
    rec.fixedFontHeight = 20;
    selectFont(18);
    EXPECT_FALSE(game.largeFonts);
    EXPECT_EQ(rec.font.height, 21);
    selectFont(8);
    EXPECT_TRUE(game.largeFonts);
    EXPECT_EQ(rec.font.face, "Terminal");
    rec.fixedFontHeight = 12;
    selectFont(8);
    EXPECT_TRUE(game.largeFonts);
}

TEST_F(ScreenLayout, ShadowTitleHighlightThenInkAndTheStateLeftBehind) {
    drawShadowText(16, Black, 687, 219, "STATISTIK:");
    auto texts = rec.of(DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(std::tie(texts[0].x1, texts[0].y1, texts[0].pen), std::make_tuple(687, 205, Rgb{0xFFFFFF}));
    EXPECT_EQ(std::tie(texts[1].x1, texts[1].y1, texts[1].pen), std::make_tuple(686, 204, Rgb{0}));
    EXPECT_FALSE(texts[0].opaque || texts[1].opaque);
    EXPECT_EQ(texts[1].raster, RasterMode::XorPen);
    EXPECT_EQ(rec.raster, RasterMode::CopyPen);
    EXPECT_TRUE(rec.opaque);
    EXPECT_EQ(rec.font.face, "Terminal");

    // The large-font shift belongs to font 14 only.
    game.largeFonts = true;
    rec.clearOps();
    drawShadowText(14, Black, 40, 618, "x");
    drawShadowText(16, Black, 40, 618, "x");
    EXPECT_EQ(rec.of(DrawOp::Text)[0].x1, 51);
    EXPECT_EQ(rec.of(DrawOp::Text)[2].x1, 40);
}

TEST_F(ScreenLayout, BoardPanelGridUnderRedBlockLinesThenThePanels) {
    drawBoardPanel();
    const DrawOp* title = rec.findText("SPIELBRETT:");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::tie(title->x1, title->y1), std::make_tuple(229, 23));

    std::size_t field = rec.ops.size(), firstGrid = 0, lastBlack = 0, firstRed = rec.ops.size();
    int blackBoxes = 0, redBoxes = 0;
    for (std::size_t i = 0; i < rec.ops.size(); ++i) {
        const DrawOp& op = rec.ops[i];
        if (op.kind == DrawOp::FilledBox && op.x1 == 28 && op.y1 == 44 && op.x2 == 569 && op.y2 == 585) field = i;
        if (op.kind != DrawOp::Box) continue;
        if (op.pen == 0 && op.lineWidth == 1 && op.x2 - op.x1 == 60 && (op.x1 - 29) % 60 == 0 && (op.y1 - 45) % 60 == 0) {
            if (blackBoxes++ == 0) firstGrid = i;
            lastBlack = i;
        } else if (op.pen == 0xFF0000 && op.lineWidth == 2 && op.x2 - op.x1 == 180 && (op.y1 - 45) % 180 == 0) {
            ++redBoxes;
            firstRed = std::min(firstRed, i);
        }
    }
    EXPECT_EQ(blackBoxes, 81);
    EXPECT_EQ(redBoxes, 9);
    EXPECT_LT(field, firstGrid) << "the field is whitened first";
    EXPECT_LT(lastBlack, firstRed) << "block lines go over the cell lines";

    // Statistics (with status), difficulty and time panels follow; the help panel is the caller's.
    auto position = [&](const std::string& text) {
        const DrawOp* found = rec.findText(text);
        return found == nullptr ? rec.ops.size() : static_cast<std::size_t>(found - rec.ops.data());
    };
    EXPECT_LT(position("STATISTIK:"), position("STATUSMELDUNG:"));
    EXPECT_LT(position("STATUSMELDUNG:"), position("SCHWIERIGKEITSGRAD:"));
    EXPECT_LT(position("SCHWIERIGKEITSGRAD:"), position("ZEITMESSUNG:"));
    EXPECT_LT(position("ZEITMESSUNG:"), rec.ops.size());
    EXPECT_EQ(position("HILFEFENSTER:"), rec.ops.size());
}

}  // namespace
}  // namespace nonari::test
