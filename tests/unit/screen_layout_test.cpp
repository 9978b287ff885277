// Font choice, shadow titles and the board panel's grid, checked on the recorded drawing calls.
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
        EXPECT_EQ(game.largeFonts, large) << height << " " << number;
    }
    EXPECT_EQ(rec.now.font.face, "Terminal");
}

TEST_F(ScreenLayout, ShadowTitleHighlightThenInkAndTheStateLeftBehind) {
    drawShadowText(16, Black, 687, 219, "STATISTIK:");
    auto texts = rec.of(DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(std::tie(texts[0].x1, texts[0].y1, texts[0].pen, texts[0].opaque),
              std::make_tuple(687, 205, Rgb{0xFFFFFF}, false));
    EXPECT_EQ(std::tie(texts[1].x1, texts[1].y1, texts[1].pen, texts[1].opaque, texts[1].raster),
              std::make_tuple(686, 204, Rgb{0}, false, RasterMode::XorPen));
    EXPECT_EQ(std::tie(rec.now.raster, rec.now.opaque, rec.now.font.face),
              std::make_tuple(RasterMode::CopyPen, true, std::string("Terminal")));
    // The large-font shift belongs to font 14 only.
    game.largeFonts = true;
    rec.ops.clear();
    drawShadowText(14, Black, 40, 618, "x");
    drawShadowText(16, Black, 40, 618, "x");
    EXPECT_EQ(std::make_pair(rec.of(DrawOp::Text)[0].x1, rec.of(DrawOp::Text)[2].x1), std::make_pair(51, 40));
}

TEST_F(ScreenLayout, BoardPanelHasItsGridAndEveryPanelButTheHelpPanel) {
    drawBoardPanel();
    const DrawOp* title = rec.findText("SPIELBRETT:");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::tie(title->x1, title->y1), std::make_tuple(229, 23));
    // 81 black cell boxes of width 1 and 9 red block boxes of width 2, each on its lattice.
    auto boxes = [this](Rgb pen, int width, int size) {
        return rec.select([=](const DrawOp& o) {
            return o.kind == DrawOp::Box && o.pen == pen && o.lineWidth == width && o.x2 - o.x1 == size &&
                   (o.x1 - 29) % size == 0 && (o.y1 - 45) % size == 0;
        }).size();
    };
    EXPECT_EQ(boxes(0, 1, 60), 81u);
    EXPECT_EQ(boxes(0xFF0000, 2, 180), 9u);
    for (const char* panel : {"STATISTIK:", "STATUSMELDUNG:", "SCHWIERIGKEITSGRAD:", "ZEITMESSUNG:"})
        EXPECT_NE(rec.findText(panel), nullptr) << panel;
    EXPECT_EQ(rec.findText("HILFEFENSTER:"), nullptr) << "the help panel is the caller's";
}

}  // namespace
}  // namespace nonari::test
