// The hint of key T on the play screen: its line in the help panel and its marks on the board.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/hint_view.h"

#include "logic/hint.h"
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/candidate_marks.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

namespace nonari {

namespace {

// A two-pixel frame inside the cell, clear of the red block lines and different from anything else drawn there.
void frameCell(int column, int row, int colourIndex) {
    Platform& p = platform();
    const int left = game.screen.boardX + (column - 1) * game.screen.cellWidth + 1;
    const int top = game.screen.boardY + (row - 1) * game.screen.cellHeight + 1;
    const int right = left + (column % 3 == 0 ? 57 : 58);
    const int bottom = top + (row % 3 == 0 ? 57 : 58);
    p.setRasterMode(RasterMode::CopyPen);
    p.setLineWidth(1);
    p.setPenColour(colour(colourIndex));
    p.drawBox(left, top, right, bottom);
    p.drawBox(left + 1, top + 1, right - 1, bottom - 1);
    p.setPenColour(colour(Black));
}

bool hasMarks() { return !game.hint.patternCells.empty() || !game.hint.targetCells.empty(); }

void removeMarks() {
    if (!hasMarks()) return;
    HintState& hint = game.hint;
    auto repaint = [](std::pair<int, int> cell) {
        const auto [c, r] = cell;
        if (game.puzzle.givens(c, r) != 0) drawGivenCell(c, r, game.puzzle.givens(c, r));
        else drawEntryCell(c, r, game.puzzle.board(c, r));
    };
    for (auto cell : hint.patternCells) repaint(cell);
    for (auto cell : hint.targetCells) repaint(cell);
    hint.patternCells.clear();
    hint.targetCells.clear();
    drawCandidateMarks();
}

}  // namespace

void showHint() {
    HintState& state = game.hint;
    const bool sameBoard = state.board == game.puzzle.board;
    removeMarks();
    if (!sameBoard) state.stepsShown = 0;
    const Hint hint = nextHint(game.puzzle.board, game.puzzle.givens, state.stepsShown);
    state.board = game.puzzle.board;
    if (hint.kind == Hint::Kind::Step && hint.step.cell < 0) ++state.stepsShown;
    state.patternCells = hintPatternCells(hint);
    state.targetCells = hintTargetCells(hint);
    drawHintMarks();
    game.screen.helpText = hintText(hint, game.settings.numbersMode);
    showHelpText();
}

void drawHintMarks() {
    if (!hasMarks() || game.hint.board != game.puzzle.board) return;
    for (auto [c, r] : game.hint.patternCells) frameCell(c, r, DarkGreen);
    // Magenta, so that a changed cell is never taken for the keyboard's dark blue cursor, which stays on top.
    for (auto [c, r] : game.hint.targetCells) frameCell(c, r, Magenta);
    drawCursorFrame();
}

void refreshHintMarks() {
    if (hasMarks() && game.hint.board != game.puzzle.board) removeMarks();
}

}  // namespace nonari
