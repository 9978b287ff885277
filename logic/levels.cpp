// The five levels by what a person needs to solve a puzzle, and the generator that digs fresh puzzles for them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/levels.h"

#include "logic/solver.h"

namespace nonari {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

constexpr int leicht = 0, mittel = 1, schwer = 2, extrem = 3, teuflisch = 4;

bool finishes(const Puzzle& puzzle, TechniqueSet allowed) { return gradePuzzle(puzzle, allowed).solved; }

// Naked singles alone finish it, and so do hidden singles in boxes alone.
bool leichtEnough(const Puzzle& puzzle) {
    return finishes(puzzle, only(Technique::NakedSingle)) && finishes(puzzle, only(Technique::HiddenSingleInBox));
}

// What a puzzle of the level may need at most, tested while digging: each removal must keep it so.
bool withinLevel(const Puzzle& puzzle, int difficulty) {
    switch (difficulty) {
        case leicht: return leichtEnough(puzzle);
        case mittel: return finishes(puzzle, upTo(Technique::HiddenSingleInLine));
        case schwer: return finishes(puzzle, upTo(Technique::HiddenTriple));
        case extrem: return finishes(puzzle, upTo(Technique::Swordfish));
        default: return true;
    }
}

void clearCells(Puzzle& puzzle, int cell, bool symmetric) {
    puzzle[at(cell)] = 0;
    if (symmetric) puzzle[at(halfTurnPartner(cell))] = 0;
}

// One solution grid: removes givens in random order while the puzzle stays unique and within the level, and
// takes the first state at or below a random target count that fits the level.
std::optional<MadePuzzle> digOnce(int difficulty, Rng& rng, const std::atomic<bool>* stop) {
    const Level& level = levels()[at(difficulty)];
    const Puzzle solution = randomSolutionGrid(rng);
    // Teuflisch puzzles are rare: any count of the window will do, so that fewer grids are dug in vain.
    const int drawn = level.fewestGivens + rng.below(level.mostGivens - level.fewestGivens + 1);
    const int target = difficulty == teuflisch ? level.mostGivens : drawn;
    std::array<int, 81> order{};
    for (int i = 0; i < 81; ++i) order[at(i)] = i;
    rng.shuffle(order);

    Puzzle puzzle = solution;
    for (int cell : order) {
        if (stop != nullptr && stop->load()) return std::nullopt;
        if (puzzle[at(cell)] == 0 || (level.symmetric && cell > halfTurnPartner(cell))) continue;
        Puzzle before = puzzle;
        clearCells(puzzle, cell, level.symmetric);
        if (givenCount(puzzle) < level.fewestGivens || countSolutions(puzzle) != 1 || !withinLevel(puzzle, difficulty)) {
            puzzle = before;
            continue;
        }
        MadePuzzle made{puzzle};
        if (givenCount(puzzle) <= target && fitsLevel(puzzle, difficulty, &made.hardest)) return made;
    }
    return std::nullopt;
}

}  // namespace

const std::array<Level, 5>& levels() {
    static const std::array<Level, 5> table{{
        {"leicht", 36, 40, true},
        {"mittel", 29, 32, true},
        {"schwer", 27, 29, true},
        {"extrem", 24, 26, true},
        {"teuflisch", 20, 23, false},
    }};
    return table;
}

std::optional<int> levelByName(const std::string& name) {
    for (int i = 0; i < 5; ++i)
        if (name == levels()[at(i)].name) return i;
    return std::nullopt;
}

std::optional<int> levelOf(const Puzzle& puzzle, Technique* hardest) {
    const Grade grade = gradePuzzle(puzzle);
    if (hardest != nullptr) *hardest = grade.hardest;
    if (countSolutions(puzzle) != 1) return std::nullopt;
    if (grade.hardest <= Technique::HiddenSingleInLine) {
        // Both simple ways finish a Leicht puzzle and neither a Mittel one; a puzzle between them has no level.
        const bool naked = finishes(puzzle, only(Technique::NakedSingle));
        const bool inBoxes = finishes(puzzle, only(Technique::HiddenSingleInBox));
        if (naked != inBoxes) return std::nullopt;
        return naked ? leicht : mittel;
    }
    if (grade.hardest <= Technique::HiddenTriple) return schwer;
    if (grade.hardest <= Technique::Swordfish) return extrem;
    if (grade.hardest >= Technique::AlternatingChain && gameSolveCommandFinishes(puzzle)) return teuflisch;
    return std::nullopt;
}

bool gameSolveCommandFinishes(const Puzzle& puzzle) {
    const Grid givens = gridOf(puzzle);
    Grid board = givens;
    CandidateGrid notes;
    SolverObserver unseen;
    if (!solveCommand(board, givens, notes, unseen)) return false;
    for (int cell = 0; cell < 81; ++cell)
        if (puzzle[at(cell)] != 0 && board(columnOf(cell) + 1, rowOf(cell) + 1) != puzzle[at(cell)]) return false;
    return true;
}

bool fitsLevel(const Puzzle& puzzle, int difficulty, Technique* hardest) {
    const Level& level = levels()[at(difficulty)];
    const int givens = givenCount(puzzle);
    if (givens < level.fewestGivens || givens > level.mostGivens) return false;
    if (level.symmetric && !isHalfTurnSymmetric(puzzle)) return false;
    return levelOf(puzzle, hardest) == difficulty;
}

std::optional<MadePuzzle> makePuzzle(int difficulty, Rng& rng, int maxAttempts, const std::atomic<bool>* stop) {
    for (int attempt = 1; attempt <= maxAttempts; ++attempt) {
        if (stop != nullptr && stop->load()) return std::nullopt;
        std::optional<MadePuzzle> made = digOnce(difficulty, rng, stop);
        if (!made) continue;
        made->attempts = attempt;
        return made;
    }
    return std::nullopt;
}

}  // namespace nonari
