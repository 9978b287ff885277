// Digging graded puzzles out of random solution grids and laying them out as collection records.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/collection_gen/generator.h"

#include "tools/collection_gen/game_check.h"

#include <fstream>
#include <system_error>

namespace nonari::gen {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// Empties a cell, and its half-turn partner when the level keeps symmetry.
void clearCells(Puzzle& puzzle, int cell, bool symmetric) {
    puzzle[at(cell)] = 0;
    if (symmetric) puzzle[at(halfTurnPartner(cell))] = 0;
}

// One solution grid: removes givens in random order while the puzzle stays unique (and, for levels with a
// ceiling, solvable within it) and takes the first state at or below a random target count that fits the level.
std::optional<Puzzle> digOnce(const Level& level, Rng& rng) {
    const Puzzle solution = randomSolutionGrid(rng);
    const int target = level.fewestGivens + rng.below(level.mostGivens - level.fewestGivens + 1);
    std::array<int, 81> order{};
    for (int i = 0; i < 81; ++i) order[at(i)] = i;
    rng.shuffle(order);

    Puzzle puzzle = solution;
    for (int cell : order) {
        if (puzzle[at(cell)] == 0 || (level.symmetric && cell > halfTurnPartner(cell))) continue;
        Puzzle before = puzzle;
        clearCells(puzzle, cell, level.symmetric);
        bool keep = givenCount(puzzle) >= level.fewestGivens && countSolutions(puzzle) == 1;
        if (keep && level.hardest < Technique::Beyond) keep = gradePuzzle(puzzle, level.hardest).solved;
        if (!keep) {
            puzzle = before;
            continue;
        }
        if (givenCount(puzzle) <= target && fitsLevel(puzzle, level)) return puzzle;
    }
    return std::nullopt;
}

}  // namespace

const std::array<Level, 5>& levels() {
    static const std::array<Level, 5> table{{
        {"leicht", "leicht.nnr", Technique::NakedSingle, Technique::HiddenSingle, 36, 40, true},
        {"mittel", "mittel.nnr", Technique::HiddenSingle, Technique::HiddenSingle, 29, 32, true},
        {"schwer", "schwer.nnr", Technique::LockedCandidates, Technique::HiddenPair, 27, 29, true},
        {"extrem", "extrem.nnr", Technique::NakedTriple, Technique::Swordfish, 24, 26, true},
        {"teuflisch", "teuflisch.nnr", Technique::SimpleColouring, Technique::Beyond, 20, 23, false},
    }};
    return table;
}

std::optional<int> levelByName(const std::string& name) {
    for (int i = 0; i < 5; ++i)
        if (name == levels()[at(i)].name) return i;
    return std::nullopt;
}

bool fitsLevel(const Puzzle& puzzle, const Level& level, Technique* hardest) {
    int givens = givenCount(puzzle);
    if (givens < level.fewestGivens || givens > level.mostGivens) return false;
    if (level.symmetric && !isHalfTurnSymmetric(puzzle)) return false;
    if (countSolutions(puzzle) != 1) return false;
    Grade grade = gradePuzzle(puzzle);
    if (hardest != nullptr) *hardest = grade.hardest;
    if (grade.hardest < level.easiest || grade.hardest > level.hardest) return false;
    return gameSolveCommandFinishes(puzzle);
}

std::optional<MadePuzzle> makePuzzle(const Level& level, Rng& rng, int maxAttempts) {
    for (int attempt = 1; attempt <= maxAttempts; ++attempt) {
        std::optional<Puzzle> puzzle = digOnce(level, rng);
        if (!puzzle) continue;
        MadePuzzle made;
        made.puzzle = *puzzle;
        made.hardest = gradePuzzle(*puzzle).hardest;
        made.givens = givenCount(*puzzle);
        made.attempts = attempt;
        return made;
    }
    return std::nullopt;
}

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
    const Level& level = levels()[at(difficulty)];
    Rng rng(seed, static_cast<std::uint32_t>(difficulty));
    Collection collection;
    for (int n = 0; n < recordsPerCollection; ++n) {
        std::optional<MadePuzzle> made = makePuzzle(level, rng, maxAttempts);
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
