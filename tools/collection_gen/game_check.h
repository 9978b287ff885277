// Whether the game's own solve command ("&Brett lösen") finishes a puzzle.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/collection_gen/puzzle_grid.h"

namespace nonari::gen {

// Runs the game's solveCommand on the puzzle as givens: true when the board ends solved with the givens untouched.
bool gameSolveCommandFinishes(const Puzzle& puzzle);

}  // namespace nonari::gen
