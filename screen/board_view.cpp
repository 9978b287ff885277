// Painting the cell interiors: givens on light grey, entries on white, one large glyph per filled cell.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/board_view.h"

#include "logic/solver.h"
#include "platform/platform.h"
#include "screen/candidate_marks.h"
#include "screen/hint_view.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

namespace nonari {

namespace {

bool onBoard(int column, int row) { return column >= 1 && column <= 9 && row >= 1 && row <= 9; }

// Glyph x offset inside the interior; "I" is narrow and sits further right.
int glyphOffset(const std::string& text) {
    if (game.settings.numbersMode) return 10;
    return text == "I" ? 19 : 5;
}

void paintCell(int column, int row, int digit, int ground) {
    Platform& p = platform();
    int left = game.screen.boardX + (column - 1) * game.screen.cellWidth + 1;
    int top = game.screen.boardY + (row - 1) * game.screen.cellHeight + 1;
    // Keep clear of the 2-pixel block lines right of columns and below rows 3, 6, 9.
    int right = left + (column % 3 == 0 ? 57 : 58);
    int bottom = top + (row % 3 == 0 ? 57 : 58);

    p.setPenColour(colour(ground));
    p.setFillColour(colour(ground));
    p.drawFilledBox(left, top, right, bottom);
    p.setPenColour(colour(Black));
    p.setFillColour(colour(ground));
    if (digit != 0) {
        std::string text = glyphText(digit);
        selectFont(40);
        p.setRasterMode(RasterMode::MergePen);
        p.setTextOpaque(false);
        p.drawText(left + glyphOffset(text), top + 1, text);
        p.setRasterMode(RasterMode::CopyPen);
        p.setTextOpaque(true);
        selectFont(20);
    }
    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
}

}  // namespace

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
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) {
            if (game.puzzle.givens(i, j) != 0) drawGivenCell(i, j, game.puzzle.givens(i, j));
            else drawEntryCell(i, j, game.puzzle.board(i, j));
        }
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
