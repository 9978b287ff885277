// Fonts, bevel frames, shadow titles and the board panel's grid, checked on the recorded drawing calls.
#include "screen/layout.h"
#include "tests/unit/screen_recorder.h"

#include <algorithm>

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF, darkGrey = 0x404040, black = 0x000000, red = 0xFF0000;

class ScreenLayout : public ScreenTest {};

bool hasLine(const std::vector<DrawOp>& lines, int x1, int y1, int x2, int y2, Rgb pen) {
    return std::any_of(lines.begin(), lines.end(), [&](const DrawOp& op) {
        return op.x1 == x1 && op.y1 == y1 && op.x2 == x2 && op.y2 == y2 && op.pen == pen;
    });
}

TEST_F(ScreenLayout, FontNumbersAndTheLargeFontSwitch) {
    FontSpec digits = screenFont(40);
    EXPECT_EQ(digits.face, "ARIAL");
    EXPECT_EQ(digits.height, 58);
    EXPECT_EQ(digits.width, 32);
    EXPECT_EQ(digits.weight, 200);
    FontSpec terminal = screenFont(8);
    EXPECT_EQ(terminal.face, "Terminal");
    EXPECT_TRUE(terminal.fixedPitch);
    EXPECT_EQ(terminal.height, 12);
    EXPECT_EQ(screenFont(14).face, "Fixedsys");
    EXPECT_DOUBLE_EQ(screenFont(14).points, 9);
    // Numbers outside the table fall back to the system font of titles.
    for (int number : {16, 12, 0, -3, 99}) {
        EXPECT_EQ(screenFont(number).face, "System") << number;
        EXPECT_DOUBLE_EQ(screenFont(number).points, 9.75) << number;
    }

    // Only font 8 measures the system font, and the switch never turns back.
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

    resetGameState();
    rec.fixedFontHeight = 16;
    selectFont(8);
    EXPECT_FALSE(game.largeFonts) << "16 pixels is not yet large";
}

TEST_F(ScreenLayout, RaisedFramesHaveThreeLinesPerEdgeSunkenTwo) {
    drawBevelFrame(0, 2, 20, 16, 577, 634);
    auto raised = rec.of(DrawOp::Line);
    ASSERT_EQ(raised.size(), 12u);
    for (int k = 0; k <= 2; ++k) {
        EXPECT_TRUE(hasLine(raised, 20 + k, 16 + k, 577, 16 + k, white)) << "top " << k;
        EXPECT_TRUE(hasLine(raised, 20 + k, 16 + k, 20 + k, 634, white)) << "left " << k;
        EXPECT_TRUE(hasLine(raised, 20 + k, 634 - k, 578, 634 - k, darkGrey)) << "bottom " << k;
        EXPECT_TRUE(hasLine(raised, 577 - k, 16 + k, 577 - k, 634, darkGrey)) << "right " << k;
    }
    EXPECT_EQ(rec.pen, black);

    rec.clearOps();
    drawBevelFrame(1, 2, 28, 44, 569, 585);
    auto sunken = rec.of(DrawOp::Line);
    ASSERT_EQ(sunken.size(), 8u);
    for (int k = 0; k <= 1; ++k) {
        EXPECT_TRUE(hasLine(sunken, 28 + k, 44 + k, 569, 44 + k, darkGrey)) << "top " << k;
        EXPECT_TRUE(hasLine(sunken, 28 + k, 585 - k, 570, 585 - k, white)) << "bottom " << k;
    }
    EXPECT_FALSE(hasLine(sunken, 30, 46, 569, 46, darkGrey));
    EXPECT_TRUE(std::all_of(sunken.begin(), sunken.end(), [](const DrawOp& op) { return op.lineWidth == 1; }));
}

TEST_F(ScreenLayout, ShadowTextHighlightThenTitleAndLeavesTheStateSet) {
    drawShadowText(16, Black, 687, 219, "STATISTIK:");
    auto texts = rec.of(DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].x1, 687);
    EXPECT_EQ(texts[0].y1, 205);
    EXPECT_EQ(texts[0].pen, white);
    EXPECT_FALSE(texts[0].opaque);
    EXPECT_EQ(texts[0].font.face, "System");
    EXPECT_EQ(texts[1].x1, 686);
    EXPECT_EQ(texts[1].y1, 204);
    EXPECT_EQ(texts[1].pen, black);
    EXPECT_EQ(texts[1].raster, RasterMode::XorPen);
    EXPECT_FALSE(texts[1].opaque);
    EXPECT_EQ(rec.raster, RasterMode::CopyPen);
    EXPECT_TRUE(rec.opaque);
    EXPECT_EQ(rec.pen, black);
    EXPECT_EQ(rec.font.face, "Terminal");

    // The large-font shift belongs to font 14 only.
    game.largeFonts = true;
    rec.clearOps();
    drawShadowText(14, Black, 40, 618, "x");
    EXPECT_EQ(rec.of(DrawOp::Text)[0].x1, 51);
    rec.clearOps();
    drawShadowText(16, Black, 40, 618, "x");
    EXPECT_EQ(rec.of(DrawOp::Text)[0].x1, 40);
}

TEST_F(ScreenLayout, BoardPanelGridUnderRedBlockLinesThenThePanels) {
    drawBoardPanel();
    EXPECT_EQ(game.boardX, 29);
    EXPECT_EQ(game.boardY, 45);

    const DrawOp* title = rec.findText("SPIELBRETT:");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x1, 229);
    EXPECT_EQ(title->y1, 23);
    EXPECT_EQ(title->font.height, 21);

    // The field is whitened before any grid line is drawn.
    std::size_t field = 0, firstGrid = 0, lastBlack = 0, firstRed = rec.ops.size();
    int blackBoxes = 0, redBoxes = 0;
    for (std::size_t i = 0; i < rec.ops.size(); ++i) {
        const DrawOp& op = rec.ops[i];
        if (op.kind == DrawOp::FilledBox && op.x1 == 28 && op.y1 == 44 && op.x2 == 569 && op.y2 == 585) {
            EXPECT_EQ(op.fill, white);
            field = i;
        }
        if (op.kind != DrawOp::Box) continue;
        if (op.pen == black && op.lineWidth == 1) {
            EXPECT_EQ(op.x2 - op.x1, 60);
            EXPECT_EQ(op.y2 - op.y1, 60);
            EXPECT_EQ((op.x1 - 29) % 60, 0);
            EXPECT_EQ((op.y1 - 45) % 60, 0);
            if (blackBoxes++ == 0) firstGrid = i;
            lastBlack = i;
        } else if (op.pen == red && op.lineWidth == 2) {
            EXPECT_EQ(op.x2 - op.x1, 180);
            EXPECT_EQ((op.x1 - 29) % 180, 0);
            EXPECT_EQ((op.y1 - 45) % 180, 0);
            ++redBoxes;
            firstRed = std::min(firstRed, i);
        }
    }
    EXPECT_EQ(blackBoxes, 81);
    EXPECT_EQ(redBoxes, 9);
    EXPECT_LT(field, firstGrid);
    EXPECT_LT(lastBlack, firstRed);

    // Then the statistics (with the status), difficulty and time panels; the help panel is the caller's.
    auto position = [&](const std::string& text) {
        for (std::size_t i = 0; i < rec.ops.size(); ++i)
            if (rec.ops[i].kind == DrawOp::Text && rec.ops[i].text == text) return i;
        return rec.ops.size();
    };
    EXPECT_LT(position("STATISTIK:"), position("STATUSMELDUNG:"));
    EXPECT_LT(position("STATUSMELDUNG:"), position("SCHWIERIGKEITSGRAD:"));
    EXPECT_LT(position("SCHWIERIGKEITSGRAD:"), position("ZEITMESSUNG:"));
    EXPECT_LT(position("ZEITMESSUNG:"), rec.ops.size());
    EXPECT_EQ(position("HILFEFENSTER:"), rec.ops.size());
    EXPECT_FALSE(rec.hasFilledBox(609, 498, 830, 541));
}

}  // namespace
}  // namespace nonari::test
