// Whether the game's own solve command ("&Brett lösen") finishes a puzzle.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/collection_gen/game_check.h"

#include "logic/solver.h"

namespace nonari::gen {

bool gameSolveCommandFinishes(const Puzzle& puzzle) {
    Grid board, givens;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) board(x, y) = givens(x, y) = puzzle[static_cast<std::size_t>(cellAt(x, y))];
    CandidateGrid notes;
    SolverObserver unseen;
    if (!solveCommand(board, givens, notes, unseen)) return false;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            const int d = puzzle[static_cast<std::size_t>(cellAt(x, y))];
            if (d != 0 && board(x, y) != d) return false;
        }
    return true;
}

}  // namespace nonari::gen
