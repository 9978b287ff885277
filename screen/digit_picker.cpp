// The pop-up digit picker on the screen: drawing it over a cell, taking it off, and what lies under the pointer.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/digit_picker.h"

#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/button_bar.h"
#include "screen/game_clock.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

#include <cmath>
#include <string>

namespace nonari {

namespace {

constexpr int squareSize = 30;
// Where the menu commands put back the strip saved at start-up.
constexpr int stripLeft = 30;
constexpr int stripTop = 597;

int pickerLeft(int column) { return game.screen.boardX - 16 + (column - 1) * game.screen.cellWidth; }
int pickerTop(int row) { return game.screen.boardY - 16 + (row - 1) * game.screen.cellHeight; }

int roundPixel(double value) { return static_cast<int>(std::lround(value)); }

int glyphOffsetInSquare(const std::string& text) {
    if (game.settings.numbersMode) return 6;
    return text == "I" ? 10 : 3;
}

}  // namespace

const char* pickerHelpText() {
    return game.picker.noteMode ? "Bitte Kandidaten notieren!" : "Rechte Taste löscht Feld!";
}

void drawDigitPicker(int column, int row) {
    Platform& p = platform();
    PickerState& picker = game.picker;
    setDrawingBusy(true);
    game.screen.helpText = pickerHelpText();
    showHelpText();
    picker.pickerX = static_cast<std::int16_t>(pickerLeft(column));
    picker.pickerY = static_cast<std::int16_t>(pickerTop(row));
    if (picker.pickerBackground == 0)
        picker.pickerBackground =
            p.saveArea(picker.pickerX, picker.pickerY, picker.pickerX + pickerSize, picker.pickerY + pickerSize);
    for (int n = 1; n <= 9; ++n) {
        int left = picker.pickerX + ((n - 1) % 3) * squareSize;
        int top = picker.pickerY + ((n - 1) / 3) * squareSize;
        p.setRasterMode(RasterMode::CopyPen);
        p.setTextOpaque(true);
        p.setPenColour(colour(Black));
        p.setFillColour(colour(n == picker.pickerHover ? LightGrey : White));
        p.drawFilledBox(left, top, left + squareSize, top + squareSize);
        p.setRasterMode(RasterMode::MergePen);
        p.setTextOpaque(false);
        selectFont(6);
        std::string text = glyphText(n);
        p.drawText(left + glyphOffsetInSquare(text), top + 1, text);
    }
    p.setRasterMode(RasterMode::CopyPen);
    p.setTextOpaque(true);
    setDrawingBusy(false);
}

void restorePickerBackground() {
    const PickerState& picker = game.picker;
    setDrawingBusy(true);
    if (picker.pickerBackground != 0) platform().restoreArea(picker.pickerBackground, picker.pickerX, picker.pickerY);
    setDrawingBusy(false);
}

void closePicker() {
    setDrawingBusy(false);
    if (game.picker.pickerBackground != 0) platform().discardArea(game.picker.pickerBackground);
    game.picker.pickerBackground = 0;
    game.picker.pickerActive = false;
}

// The saved background is older than the command: the cells are drawn afresh over it, and where it
// reaches into the strip under the board, the strip goes back to what a command leaves under a running game.
void abandonPicker() {
    restorePickerBackground();
    closePicker();
    if (game.picker.pickerY + pickerSize >= stripTop && game.screen.savedStrip != 0) {
        platform().restoreArea(game.screen.savedStrip, stripLeft, stripTop);
        drawButtonBar();  // the picker's play screen goes on
    }
    drawBoard();
}

int pickerSquareAt(int x, int y) {
    int dx = x - game.picker.pickerX, dy = y - game.picker.pickerY;
    if (dx < 0 || dx >= pickerSize || dy < 0 || dy >= pickerSize) return 0;
    return (dy / squareSize) * 3 + dx / squareSize + 1;
}

bool cellAt(int x, int y, int& column, int& row) {
    const ScreenState& screen = game.screen;
    int dx = x - screen.boardX, dy = y - screen.boardY;
    if (dx < 0 || dx >= 9 * screen.cellWidth || dy < 0 || dy >= 9 * screen.cellHeight) return false;
    column = dx / screen.cellWidth + 1;
    row = dy / screen.cellHeight + 1;
    return true;
}

void Win_0_MouseMove(int, int, double x, double y) {
    int px = roundPixel(x), py = roundPixel(y);
    // While a menu command runs inside the picker's wait the picker is not on show.
    if (game.picker.pickerActive && game.screen.helpText == pickerHelpText()) {
        int square = pickerSquareAt(px, py);
        if (square != 0 && square != game.picker.pickerHover) {
            game.picker.pickerHover = static_cast<std::int16_t>(square);
            drawDigitPicker(game.picker.pickerColumn, game.picker.pickerRow);
        }
    }
    game.picker.mouseX = px;
    game.picker.mouseY = py;
}

}  // namespace nonari
