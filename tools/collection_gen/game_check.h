// Whether the game's own solve procedure ("&Brett lösen") finishes a puzzle.
#pragma once

#include "tools/collection_gen/puzzle_grid.h"

namespace nonari::gen {

// A quick replay of the game's procedure (ten passes of singles, then one guess on a two-candidate cell, rows from
// the top, lower digit first) with digit masks instead of whole-board checks; used to sift candidates.
bool solveProcedureFinishes(const Puzzle& puzzle);

// Loads the puzzle into game.board and game.givens, runs the game's solveCommand on the installed platform and
// tells whether the board ends full and consistent with "Brett gelöst!!!" and the givens untouched.
bool gameSolveCommandFinishes(const Puzzle& puzzle);

}  // namespace nonari::gen
