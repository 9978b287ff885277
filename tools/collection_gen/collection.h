// The five collection files of 2200-byte board records, made from the game's own puzzle generator.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logic/levels.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace nonari::gen {

inline constexpr int recordBytes = 2200;
inline constexpr int recordsPerCollection = 4;

// "leicht.nnr" .. "teuflisch.nnr"
std::string collectionFileName(int difficulty);

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
