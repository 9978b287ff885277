// The six painted buttons below the board: their look, their places and their click zones.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/button_bar.h"

#include "platform/platform.h"
#include "screen/layout.h"
#include "state/game_state.h"

#include <algorithm>
#include <array>

namespace nonari {

namespace {

struct PaintedButton {
    const char* label;
    int left;
    int zoneLeft;
    int zoneRight;
};

constexpr int buttonTop = 598;
constexpr std::array<PaintedButton, 6> buttons{{
    {" _Laden ", 30, 29, 107},
    {" _Sichern ", 108, 108, 201},
    {" _Drucken ", 202, 202, 295},
    {" _Neustart ", 296, 296, 397},
    {" _Hilfe ", 398, 398, 475},
    // Abbruch takes clicks up to the strip's end, beyond the drawn button.
    {" _Abbruch ", 476, 476, 612},
}};

}  // namespace

void drawButton(int state, int x, int y, const std::string& label) {
    Platform& p = platform();
    p.showPointer(false);
    std::size_t underscore = label.find('_');
    int k = underscore == std::string::npos ? 0 : static_cast<int>(underscore) + 1;
    int n = static_cast<int>(label.size()) - 1;
    std::string shown = label;
    std::string hot;
    if (k != 0 && underscore + 1 < label.size()) {
        hot = label.substr(underscore + 1, 1);
        shown = label.substr(0, underscore) + " " + label.substr(underscore + 2);
    } else if (k != 0) {
        shown = label.substr(0, underscore) + " ";
    }

    int right = x + 8 * n + 20;
    drawBevelFrame(state, 2, x, y, right, y + 26);
    p.setPenColour(colour(Black));
    p.drawBox(x - 1, y - 1, right, y + 26);
    // The bevel's lower edges run one pixel past the button, onto the outline of the button beside it.
    if (std::ranges::any_of(buttons, [&](const PaintedButton& b) { return b.left == right + 2 && y == buttonTop; }))
        p.drawLine(right + 1, y + 24, right + 1, y + 26);

    int tx = x + 4 * (n - 1 - static_cast<int>(shown.size())) + 14;
    int ty = y + 20;
    if (game.screen.largeFonts) {
        tx -= 8;
        ty -= 2;
    }
    drawShadowText(14, Black, game.screen.largeFonts ? tx - 12 : tx, ty, shown);

    if (!hot.empty()) {
        int hx = tx + 8 * (k - 1) - (k == 1 ? 1 : 0);
        int hy = ty - 14;
        selectFont(14);
        p.setTextOpaque(false);
        p.setRasterMode(RasterMode::CopyPen);
        p.setPenColour(colour(White));
        p.drawText(hx, hy, hot);
        p.setPenColour(colour(DarkRed));
        p.setRasterMode(RasterMode::XorPen);
        p.drawText(hx - 1, hy - 1, hot);
    }

    p.showPointer(true);
    p.setRasterMode(RasterMode::CopyPen);
    p.setTextOpaque(true);
    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
}

void drawButton(int state, Button button) {
    if (button == Button::None) return;
    const PaintedButton& painted = buttons[static_cast<std::size_t>(button)];
    drawButton(state, painted.left, buttonTop, painted.label);
}

void drawButtonBar() {
    for (const auto& button : buttons) drawButton(0, button.left, buttonTop, button.label);
}

Button buttonAt(int x, int y) {
    if (y < 597 || y > 623) return Button::None;
    for (std::size_t b = 0; b < buttons.size(); ++b)
        if (x >= buttons[b].zoneLeft && x <= buttons[b].zoneRight) return static_cast<Button>(b);
    return Button::None;
}

}  // namespace nonari
