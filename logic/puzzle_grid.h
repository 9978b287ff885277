// Puzzles as the grader and the generator handle them: 81 cells, units, peers, a reproducible generator, solution counting.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "state/grids.h"

namespace nonari {

// Row by row, cell i = 9*(row-1) + (column-1); 0 = empty, 1..9 = digit.
using Puzzle = std::array<std::uint8_t, 81>;
// Bit d (1..9) set when digit d is possible.
using DigitMask = std::uint16_t;

inline constexpr DigitMask allDigits = 0x3FE;

inline int cellAt(int column, int row) { return 9 * (row - 1) + (column - 1); }
inline int rowOf(int cell) { return cell / 9; }      // 0..8
inline int columnOf(int cell) { return cell % 9; }   // 0..8
inline int boxOf(int cell) { return (cell / 27) * 3 + (cell % 9) / 3; }  // 0..8
// The cell the half turn about the centre maps a cell to.
inline int halfTurnPartner(int cell) { return 80 - cell; }

// Units 0..8 are rows, 9..17 columns, 18..26 boxes.
const std::array<std::array<int, 9>, 27>& units();
// The 20 cells sharing a row, column or box with the cell.
const std::array<std::array<int, 20>, 81>& peers();
bool sees(int a, int b);

int digitCount(DigitMask mask);
// The lowest digit of a non-empty mask.
int firstDigit(DigitMask mask);

int givenCount(const Puzzle& puzzle);
bool isHalfTurnSymmetric(const Puzzle& puzzle);
// No unit holds a digit twice (empty cells allowed).
bool isConsistent(const Puzzle& puzzle);
bool isComplete(const Puzzle& puzzle);
// 81 characters, '.' or '0' for empty cells; other lengths and characters give nullopt.
std::optional<Puzzle> puzzleFromText(const std::string& text);
std::string puzzleToText(const Puzzle& puzzle);
// Between the game's (column, row) grids and puzzles.
Puzzle puzzleOf(const Grid& grid);
Grid gridOf(const Puzzle& puzzle);

// The generator's own random draws: std::mt19937 with a mapping that does not depend on the standard library, so a
// seed gives the same puzzles everywhere.
struct Rng {
    std::mt19937 engine;
    explicit Rng(std::uint32_t seed) : engine(seed) {}
    Rng(std::uint32_t seed, std::uint32_t stream);
    // Uniform in 0..n-1 (n >= 1).
    int below(int n);
    template <typename T, std::size_t N>
    void shuffle(std::array<T, N>& items) {
        for (std::size_t i = N; i > 1; --i) std::swap(items[i - 1], items[static_cast<std::size_t>(below(static_cast<int>(i)))]);
    }
};

// Counts solutions by search, stopping once `limit` are found; an inconsistent puzzle has none.
int countSolutions(const Puzzle& puzzle, int limit = 2);
// The solution when there is exactly one.
std::optional<Puzzle> uniqueSolution(const Puzzle& puzzle);
// A random complete valid grid.
Puzzle randomSolutionGrid(Rng& rng);

}  // namespace nonari
