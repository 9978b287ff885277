// The play screen's font set, the bevel frames and shadowed titles, and the board panel with its grid.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/layout.h"

#include "platform/platform.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

namespace nonari {

namespace {

FontRequest ownFont(int height, int width, int weight, bool fixed, const char* face = "ARIAL") {
    FontRequest desc;
    desc.face = face;
    desc.height = height;
    desc.width = width;
    desc.weight = weight;
    desc.fixedPitch = fixed;
    return desc;
}

FontRequest systemFont(const char* face, double points, bool fixed) {
    FontRequest desc;
    desc.face = face;
    desc.points = points;
    desc.fixedPitch = fixed;
    return desc;
}

}  // namespace

FontRequest screenFont(int number) {
    switch (number) {
        case 4: return ownFont(12, 6, 200, false);
        case 6: return ownFont(30, 16, 200, false);
        case 8: return ownFont(12, 8, 400, true, "Terminal");
        case 18: return ownFont(21, 10, 400, false);
        case 20: return ownFont(26, 14, 200, false);
        case 40: return ownFont(58, 32, 200, false);
        case 14: return systemFont("Fixedsys", 9, true);
        default: return systemFont("System", 9.75, false);
    }
}

void selectFont(int number) {
    // The fonts are values here; the platform builds and keeps its own objects for them.
    game.screen.screenFontsCreated = true;
    if (number == 8 && platform().systemFixedFontHeight() > 16) game.screen.largeFonts = true;
    platform().selectFont(screenFont(number));
}

void drawBevelFrame(int sunken, int depth, int x1, int y1, int x2, int y2) {
    Platform& p = platform();
    p.setLineWidth(1);
    p.setPenColour(colour(sunken == 1 ? DarkGrey : White));
    for (int k = 0; k <= depth - sunken; ++k) {
        p.drawLine(x1 + k, y1 + k, x2, y1 + k);
        p.drawLine(x1 + k, y1 + k, x1 + k, y2);
    }
    p.setPenColour(colour(sunken == 1 ? White : DarkGrey));
    for (int k = 0; k <= depth - sunken; ++k) {
        p.drawLine(x1 + k, y2 - k, x2 + 1, y2 - k);
        p.drawLine(x2 - k, y1 + k, x2 - k, y2);
    }
    p.setPenColour(colour(Black));
}

void drawShadowText(int fontNumber, int colourIndex, int x, int y, const std::string& text) {
    Platform& p = platform();
    selectFont(fontNumber);
    if (game.screen.largeFonts && fontNumber == 14) x += 11;
    y -= 14;
    p.setPenColour(colour(White));
    p.setFillColour(colour(LightGrey));
    p.setRasterMode(RasterMode::CopyPen);
    p.setTextOpaque(false);
    p.drawText(x, y, text);
    p.setPenColour(colour(colourIndex));
    p.setFillColour(colour(Black));
    p.setRasterMode(RasterMode::XorPen);
    p.drawText(x - 1, y - 1, text);
    p.setRasterMode(RasterMode::CopyPen);
    p.setTextOpaque(true);
    p.setPenColour(colour(Black));
    p.setFillColour(colour(LightGrey));
    selectFont(8);
}

void drawBoardPanel() {
    Platform& p = platform();
    drawBevelFrame(0, 2, 20, 16, 577, 634);
    drawBevelFrame(1, 2, 28, 44, 569, 585);
    drawBevelFrame(1, 2, 28, 595, 570, 626);

    p.setLineWidth(1);
    game.screen.boardX = 29;
    game.screen.boardY = 45;
    game.screen.cellWidth = 60;
    game.screen.cellHeight = 60;
    drawShadowText(18, Black, game.screen.boardX + 200, game.screen.boardY - 8, "SPIELBRETT:");

    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
    p.drawFilledBox(28, 44, 569, 585);

    for (int j = 1; j <= 9; ++j)
        for (int i = 1; i <= 9; ++i) {
            int x = game.screen.boardX + (i - 1) * game.screen.cellWidth;
            int y = game.screen.boardY + (j - 1) * game.screen.cellHeight;
            p.drawBox(x, y, x + game.screen.cellWidth, y + game.screen.cellHeight);
        }

    // The block lines go over the cell lines they share.
    p.setLineWidth(2);
    p.setPenColour(colour(Red));
    p.setFillColour(colour(White));
    for (int blockRow = 1; blockRow <= 3; ++blockRow)
        for (int blockColumn = 1; blockColumn <= 3; ++blockColumn) {
            int x = game.screen.boardX + (blockColumn - 1) * 180;
            int y = game.screen.boardY + (blockRow - 1) * 180;
            p.drawBox(x, y, x + 180, y + 180);
        }
    p.setLineWidth(1);
    p.setPenColour(colour(Black));

    drawStatisticsPanel();
    drawDifficultyPanel();
    drawTimePanel();
}

}  // namespace nonari
