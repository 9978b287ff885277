// Painting the cell interiors: givens on light grey, entries on white, one large glyph per filled cell.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/board_view.h"

#include "logic/rules.h"
#include "logic/solver.h"
#include "platform/platform.h"
#include "screen/candidate_marks.h"
#include "screen/hint_view.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace nonari {

namespace {

bool onBoard(int column, int row) { return column >= 1 && column <= 9 && row >= 1 && row <= 9; }

// Glyph x offset inside the interior; "I" is narrow and sits further right.
int glyphOffset(const std::string& text) {
    if (game.settings.numbersMode) return 10;
    return text == "I" ? 19 : 5;
}

struct CellBox {
    int left, top, right, bottom;
};

CellBox interiorOf(int column, int row) {
    int left = game.screen.boardX + (column - 1) * game.screen.cellWidth + 1;
    int top = game.screen.boardY + (row - 1) * game.screen.cellHeight + 1;
    // Keep clear of the 2-pixel block lines right of columns and below rows 3, 6, 9.
    return {left, top, left + (column % 3 == 0 ? 57 : 58), top + (row % 3 == 0 ? 57 : 58)};
}

bool isCursorCell(int column, int row) {
    const PickerState& picker = game.picker;
    return picker.cursorShown && picker.cursorColumn == column && picker.cursorRow == row;
}

// The cell's ground, and a large glyph on it in the ink colour.
void paintGlyphCell(const CellBox& box, const std::string& text, int xOffset, int ground, int ink) {
    Platform& p = platform();
    p.setPenColour(colour(ground));
    p.setFillColour(colour(ground));
    p.drawFilledBox(box.left, box.top, box.right, box.bottom);
    p.setPenColour(colour(ink));
    p.setFillColour(colour(ground));
    if (!text.empty()) {
        selectFont(40);
        p.setRasterMode(RasterMode::MergePen);
        p.setTextOpaque(false);
        p.drawText(box.left + xOffset, box.top + 1, text);
        p.setRasterMode(RasterMode::CopyPen);
        p.setTextOpaque(true);
        selectFont(20);
    }
    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
}

void paintCell(int column, int row, int digit, int ground) {
    const Grid& board = game.puzzle.board;
    // A digit the rules show to clash is drawn in red, while the setting is on.
    const bool clash = game.settings.markClashes && digit != 0 && board(column, row) == digit &&
                       clashesAt(board, column, row);
    game.screen.clashShown(column, row) = clash ? 1 : 0;
    const std::string text = glyphText(digit);
    paintGlyphCell(interiorOf(column, row), text, glyphOffset(text), ground, clash ? Red : Black);
    drawCellFrames(column, row);
}

// A two-pixel frame inside the cell, clear of the red block lines and different from anything else drawn there.
void drawHintFrame(int column, int row, int colourIndex) {
    const CellBox b = interiorOf(column, row);
    Platform& p = platform();
    p.setRasterMode(RasterMode::CopyPen);
    p.setLineWidth(1);
    p.setPenColour(colour(colourIndex));
    p.drawBox(b.left, b.top, b.right, b.bottom);
    p.drawBox(b.left + 1, b.top + 1, b.right - 1, b.bottom - 1);
    p.setPenColour(colour(Black));
}

}  // namespace

void drawCellFrames(int column, int row) {
    const HintState& hint = game.hint;
    const auto marked = [column, row](const std::vector<std::pair<int, int>>& cells) {
        return std::find(cells.begin(), cells.end(), std::pair{column, row}) != cells.end();
    };
    // Magenta, so that a changed cell is never taken for the keyboard's dark blue cursor, which stays on top.
    if (hint.board == game.puzzle.board) {
        if (marked(hint.targetCells)) drawHintFrame(column, row, Magenta);
        else if (marked(hint.patternCells)) drawHintFrame(column, row, DarkGreen);
    }
    if (isCursorCell(column, row)) drawCursorFrame();
}

void drawCursorFrame() {
    const PickerState& picker = game.picker;
    if (!picker.cursorShown) return;
    // Three pixels of dark blue along the inside of the cell: neither a block line, a given nor the picker.
    const CellBox b = interiorOf(picker.cursorColumn, picker.cursorRow);
    Platform& p = platform();
    p.setPenColour(colour(DarkBlue));
    p.setFillColour(colour(DarkBlue));
    p.drawFilledBox(b.left, b.top, b.right, b.top + 2);
    p.drawFilledBox(b.left, b.bottom - 2, b.right, b.bottom);
    p.drawFilledBox(b.left, b.top, b.left + 2, b.bottom);
    p.drawFilledBox(b.right - 2, b.top, b.right, b.bottom);
    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
}

void drawCell(int column, int row) {
    if (!onBoard(column, row)) return;
    if (game.puzzle.givens(column, row) != 0) drawGivenCell(column, row, game.puzzle.givens(column, row));
    else drawEntryCell(column, row, game.puzzle.board(column, row));
    drawCellMarks(column, row);
}

void placeCursor(int column, int row) {
    PickerState& picker = game.picker;
    const bool wasShown = picker.cursorShown;
    const int oldColumn = picker.cursorColumn, oldRow = picker.cursorRow;
    picker.cursorShown = true;
    picker.cursorColumn = static_cast<std::int16_t>(column);
    picker.cursorRow = static_cast<std::int16_t>(row);
    if (wasShown && (oldColumn != column || oldRow != row)) drawCell(oldColumn, oldRow);
    drawCursorFrame();
}

void hideCursor() {
    if (!game.picker.cursorShown) return;
    game.picker.cursorShown = false;
    drawCell(game.picker.cursorColumn, game.picker.cursorRow);
}

void refreshClashMarks() {
    if (game.screen.boardCovered) return;  // the cells are drawn afresh when the pause ends
    const Grid wanted = game.settings.markClashes ? clashingCells(game.puzzle.board) : Grid{};
    for (int column = 1; column <= 9; ++column)
        for (int row = 1; row <= 9; ++row)
            if ((wanted(column, row) != 0) != (game.screen.clashShown(column, row) != 0)) drawCell(column, row);
}

void drawBoardCells() {
    game.screen.boardCovered = false;
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) {
            if (game.puzzle.givens(i, j) != 0) drawGivenCell(i, j, game.puzzle.givens(i, j));
            else drawEntryCell(i, j, game.puzzle.board(i, j));
        }
}

void coverBoard() {
    static const std::string word = "PAUSE";
    game.screen.boardCovered = true;
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) {
            const int letter = i - 3;  // across the middle row, columns 3 to 7
            const std::string text = j == 5 && letter >= 0 && letter < 5 ? word.substr(letter, 1) : "";
            paintGlyphCell(interiorOf(i, j), text, 5, BlueGrey, DarkBlue);
        }
}

std::string glyphText(int digit) {
    if (digit < 1 || digit > 9) return {};
    if (game.settings.numbersMode) return std::string(1, static_cast<char>('0' + digit));
    return std::string(1, static_cast<char>(64 + digit));
}

void drawGivenCell(int column, int row, int digit) {
    if (!onBoard(column, row)) return;
    paintCell(column, row, digit, LightGrey);
    game.puzzle.givens(column, row) = static_cast<std::uint8_t>(digit);
}

void drawEntryCell(int column, int row, int digit) {
    if (!onBoard(column, row)) return;
    paintCell(column, row, digit, White);
}

void drawBoard() {
    game.screen.cellWidth = 60;
    game.screen.cellHeight = 60;
    drawBoardCells();
    updateStatistics();
    if (game.settings.showCandidates) showAllCandidates();
    else drawCandidateMarks();
    drawHintMarks();
}

void clearBoard() {
    game.puzzle.board.clear();
    game.puzzle.givens.clear();
    game.puzzle.candidates.clear();
    drawBoard();
}

namespace {

// Each digit appears as the solver places it, the panels after each run of passes, and the board
// again once failed guesses are taken back.
class SolverOnScreen : public SolverObserver {
public:
    void placed(int x, int y, int d) override { drawEntryCell(x, y, d); }
    void passesFinished() override { updateStatistics(); }
    void guessesUndone() override { drawBoard(); }
};

}  // namespace

void solveOnScreen() {
    SolverOnScreen screen;
    solveCommand(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates, screen);
}

}  // namespace nonari
