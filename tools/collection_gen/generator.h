// Making graded puzzles and the five collection files of 2200-byte board records.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/collection_gen/grader.h"
#include "tools/collection_gen/puzzle_grid.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace nonari::gen {

inline constexpr int recordBytes = 2200;
inline constexpr int recordsPerCollection = 4;

// What a collection's puzzles must be: the hardest technique each needs lies in [easiest, hardest].
struct Level {
    const char* name;  // as on the command line: "leicht" .. "teuflisch"
    const char* file;  // "leicht.nnr" .. "teuflisch.nnr"
    Technique easiest;
    Technique hardest;
    int fewestGivens;
    int mostGivens;
    bool symmetric;  // givens symmetric under the half turn
};

// Difficulty 0..4, in the game's order.
const std::array<Level, 5>& levels();
std::optional<int> levelByName(const std::string& name);

struct MadePuzzle {
    Puzzle puzzle{};
    Technique hardest = Technique::None;
    int givens = 0;
    int attempts = 0;  // solution grids tried until this puzzle was found
};

// Whether a puzzle belongs to a level: unique, graded within the level, symmetric where required, finished by the
// game's own solve command.
bool fitsLevel(const Puzzle& puzzle, const Level& level, Technique* hardest = nullptr);

// Digs puzzles out of random solution grids until one fits the level; nullopt after `maxAttempts` grids.
std::optional<MadePuzzle> makePuzzle(const Level& level, Rng& rng, int maxAttempts);

// A fresh-puzzle record: board and givens images equal, no notes, filler digits 1..9 drawn from rng.
std::vector<std::uint8_t> boardRecord(const Puzzle& puzzle, Rng& rng);
// The puzzle in record `index` of a collection image; nullopt when the image is too short.
std::optional<Puzzle> puzzleInRecord(const std::vector<std::uint8_t>& bytes, int index);

struct Collection {
    std::vector<MadePuzzle> puzzles;
    std::vector<std::uint8_t> bytes;  // recordsPerCollection records
};

// The collection of a difficulty 0..4; the same seed always gives the same bytes.
std::optional<Collection> makeCollection(int difficulty, std::uint32_t seed, int maxAttempts = 20000);

// Writes through a temporary file and a rename, so a failed write never leaves a half file behind.
bool writeFileWhole(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace nonari::gen
