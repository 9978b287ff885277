// Fresh puzzles made in the background: one spare per level, ready when a new game wants one.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logic/puzzle_grid.h"

#include <cstdint>
#include <optional>

namespace nonari {

// Starts the thread that keeps a spare puzzle of each level; the seed fixes which puzzles it makes. Does nothing
// while it runs already.
void startFreshPuzzles(std::uint32_t seed);
// The spare puzzle of the level, if one is ready; the thread then makes the next. Never waits for one.
std::optional<Puzzle> takeFreshPuzzle(int difficulty);
bool freshPuzzleReady(int difficulty);
// Ends the thread within one step of its digging and forgets the spares.
void stopFreshPuzzles();

}  // namespace nonari
