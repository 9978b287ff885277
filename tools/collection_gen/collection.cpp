// The five collection files of 2200-byte board records, made from the game's own puzzle generator.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/collection_gen/collection.h"

#include <fstream>
#include <system_error>

namespace nonari::gen {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

}  // namespace

std::string collectionFileName(int difficulty) { return std::string(levels()[at(difficulty)].name) + ".nnr"; }

std::vector<std::uint8_t> boardRecord(const Puzzle& puzzle, Rng& rng) {
    std::vector<std::uint8_t> record(at(recordBytes), 0);
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            std::uint8_t d = puzzle[at(cellAt(c, r))];
            record[at(c + 10 * r)] = d;        // board image
            record[at(100 + c + 10 * r)] = d;  // givens image
        }
    for (int i = 1200; i < recordBytes; ++i) record[at(i)] = static_cast<std::uint8_t>(rng.below(9) + 1);
    return record;
}

std::optional<Puzzle> puzzleInRecord(const std::vector<std::uint8_t>& bytes, int index) {
    std::size_t base = at(index * recordBytes);
    if (index < 0 || bytes.size() < base + at(recordBytes)) return std::nullopt;
    Puzzle puzzle{};
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) puzzle[at(cellAt(c, r))] = bytes[base + at(100 + c + 10 * r)];
    return puzzle;
}

std::optional<Collection> makeCollection(int difficulty, std::uint32_t seed, int maxAttempts) {
    Rng rng(seed, static_cast<std::uint32_t>(difficulty));
    Collection collection;
    for (int n = 0; n < recordsPerCollection; ++n) {
        std::optional<MadePuzzle> made = makePuzzle(difficulty, rng, maxAttempts);
        if (!made) return std::nullopt;
        std::vector<std::uint8_t> record = boardRecord(made->puzzle, rng);
        collection.bytes.insert(collection.bytes.end(), record.begin(), record.end());
        collection.puzzles.push_back(*made);
    }
    return collection;
}

bool writeFileWhole(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".part";
    bool written;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        written = !out.fail();
    }
    std::error_code error;
    if (written) std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace nonari::gen
