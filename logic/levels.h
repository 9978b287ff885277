// The five levels by what a person needs to solve a puzzle, and the generator that digs fresh puzzles for them.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logic/grader.h"
#include "logic/puzzle_grid.h"

#include <atomic>
#include <optional>
#include <string>

namespace nonari {

// What a level's puzzles look like besides the techniques they need.
struct Level {
    const char* name;  // "leicht" .. "teuflisch"
    int fewestGivens;
    int mostGivens;
    bool symmetric;    // givens symmetric under the half turn
};

// Difficulty 0..4, in the game's order.
const std::array<Level, 5>& levels();
std::optional<int> levelByName(const std::string& name);

// The level by techniques alone: Leicht when naked singles alone and hidden singles in boxes alone each finish it,
// Mittel when singles of every kind do but neither of those two alone, Schwer up to triples, Extrem up to X-wing,
// XY-wing and swordfish, Teuflisch when none of the techniques up to XY-chains do and the game's solve command
// does. Nothing for a puzzle without exactly one solution or between the levels. *hardest gets the hardest
// technique it needs.
std::optional<int> levelOf(const Puzzle& puzzle, Technique* hardest = nullptr);

// Whether the game's solve command ("&Brett lösen") finishes the puzzle with its givens untouched.
bool gameSolveCommandFinishes(const Puzzle& puzzle);

// The level, the given count and the symmetry all fit.
bool fitsLevel(const Puzzle& puzzle, int difficulty, Technique* hardest = nullptr);

struct MadePuzzle {
    Puzzle puzzle{};
    Technique hardest = Technique::None;
    int attempts = 0;  // solution grids tried until this puzzle was found
};

// Digs puzzles out of random solution grids until one fits the level; nothing after `maxAttempts` grids or once
// *stop is set (looked at between removals).
std::optional<MadePuzzle> makePuzzle(int difficulty, Rng& rng, int maxAttempts,
                                     const std::atomic<bool>* stop = nullptr);

}  // namespace nonari
