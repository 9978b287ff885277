// The hint of key T on the play screen: its line in the help panel and its marks on the board.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/hint_view.h"

#include "logic/hint.h"
#include "screen/board_view.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

#include <utility>
#include <vector>

namespace nonari {

namespace {

bool hasMarks() { return !game.hint.patternCells.empty() || !game.hint.targetCells.empty(); }

void removeMarks() {
    std::vector<std::pair<int, int>> cells = std::exchange(game.hint.patternCells, {});
    for (auto cell : std::exchange(game.hint.targetCells, {})) cells.push_back(cell);
    for (auto [column, row] : cells) drawCell(column, row);
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
    for (auto [column, row] : game.hint.patternCells) drawCellFrames(column, row);
    for (auto [column, row] : game.hint.targetCells) drawCellFrames(column, row);
}

void refreshHintMarks() {
    if (hasMarks() && game.hint.board != game.puzzle.board) removeMarks();
}

}  // namespace nonari
