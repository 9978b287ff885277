// Speed of the puzzle logic without a screen: whole solves, the trial placements they are made of, and shuffles.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "logic/solver.h"
#include "platform/system.h"
#include "tests/support/test_support.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace nonari {
namespace {

// A solution grid with two swappable rectangles, cells x y / y x in two rows of one band and two columns of
// different stacks: with one emptied the first guess solves the board, with both every guess fails.
const Grid rectangles =
    test::gridFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");

struct Puzzles {
    Grid singles;    // naked and hidden singles finish it
    Grid oneGuess;   // one rectangle empty: solved by the first guess
    Grid twoGuess;   // both empty: the longest guessing stage
};

const Puzzles& puzzles() {
    static const Puzzles made = [] {
        Puzzles p;
        p.singles = test::gridFromText(
            "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79");
        p.oneGuess = rectangles;
        for (auto [c, r] : {std::pair{2, 2}, {5, 2}, {2, 3}, {5, 3}}) p.oneGuess(c, r) = 0;
        p.twoGuess = p.oneGuess;
        for (auto [c, r] : {std::pair{1, 5}, {8, 5}, {1, 6}, {8, 6}}) p.twoGuess(c, r) = 0;
        return p;
    }();
    return made;
}

void solveFrom(benchmark::State& state, const Grid& puzzle) {
    SolverObserver unseen;
    Grid board;
    CandidateGrid notes;
    bool solved = false;
    for (auto _ : state) {
        board = puzzle;
        solved = solveCommand(board, puzzle, notes, unseen);
        benchmark::DoNotOptimize(board);
    }
    state.SetLabel(solved ? "solved" : "open");
}

void BM_SolveSinglesPuzzle(benchmark::State& state) { solveFrom(state, puzzles().singles); }
void BM_SolveOneGuessPuzzle(benchmark::State& state) { solveFrom(state, puzzles().oneGuess); }
void BM_SolveTwoGuessPuzzle(benchmark::State& state) { solveFrom(state, puzzles().twoGuess); }
BENCHMARK(BM_SolveSinglesPuzzle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveOneGuessPuzzle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveTwoGuessPuzzle)->Unit(benchmark::kMicrosecond);

// Trials on an unchanged board, as the solver makes most of them.
void BM_TrialPlacement(benchmark::State& state) {
    const Grid& board = puzzles().singles;
    std::int64_t trials = 0;
    for (auto _ : state)
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                if (board(x, y) == 0)
                    for (int d = 1; d <= 9; ++d) {
                        benchmark::DoNotOptimize(trialPlacement(board, x, y, d));
                        ++trials;
                    }
    state.SetItemsProcessed(trials);
}
BENCHMARK(BM_TrialPlacement);

void shuffleIn(benchmark::State& state, bool keepSymmetry) {
    seedRandom(99);
    Grid board = rectangles, givens = puzzles().singles;
    for (auto _ : state) {
        shuffleBoard(board, givens, keepSymmetry);
        benchmark::DoNotOptimize(board);
    }
}

void BM_ShuffleSymmetric(benchmark::State& state) { shuffleIn(state, true); }
void BM_ShuffleFree(benchmark::State& state) { shuffleIn(state, false); }
BENCHMARK(BM_ShuffleSymmetric)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShuffleFree)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nonari
