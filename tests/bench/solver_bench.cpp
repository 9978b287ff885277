// Speed of the puzzle logic without a screen: whole solves, trial placements, rule checks and shuffles.
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "logic/solver.h"
#include "platform/system.h"
#include "tests/support/test_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace nonari {
namespace {

bool fillRandomly(Grid& g, std::mt19937& draw, int at = 0) {
    if (at == 81) return true;
    int c = at % 9 + 1, r = at / 9 + 1;
    std::vector<int> digits{1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::shuffle(digits.begin(), digits.end(), draw);
    int bx = (c - 1) / 3 * 3 + 1, by = (r - 1) / 3 * 3 + 1;
    for (int d : digits) {
        bool clash = false;
        for (int i = 1; i <= 9 && !clash; ++i)
            clash = g(c, i) == d || g(i, r) == d || g(bx + (i - 1) % 3, by + (i - 1) / 3) == d;
        if (clash) continue;
        g(c, r) = static_cast<std::uint8_t>(d);
        if (fillRandomly(g, draw, at + 1)) return true;
        g(c, r) = 0;
    }
    return false;
}

// Empties the cells of every x y / y x rectangle found (two rows of a band, columns of two
// stacks), up to the given number: each leaves two completions and no single.
Grid withRectanglesEmptied(Grid g, int wanted) {
    Grid full = g;
    int emptied = 0;
    for (int r1 = 1; r1 <= 9; ++r1)
        for (int r2 = r1 + 1; r2 <= 9 && (r2 - 1) / 3 == (r1 - 1) / 3; ++r2)
            for (int c1 = 1; c1 <= 9; ++c1)
                for (int c2 = c1 + 1; c2 <= 9; ++c2) {
                    if (emptied == wanted || (c1 - 1) / 3 == (c2 - 1) / 3) continue;
                    if (full(c1, r1) != full(c2, r2) || full(c2, r1) != full(c1, r2)) continue;
                    if (!g(c1, r1) || !g(c2, r1) || !g(c1, r2) || !g(c2, r2)) continue;
                    g(c1, r1) = g(c2, r1) = g(c1, r2) = g(c2, r2) = 0;
                    ++emptied;
                }
    return emptied == wanted ? g : Grid{};
}

// Puzzles of several kinds from random solution grids of a fixed seed.
struct Puzzles {
    Grid singles;    // naked and hidden singles finish it
    Grid oneGuess;   // one swappable rectangle: solved by the first guess
    Grid twoGuess;   // two rectangles: every guess fails, the longest guessing stage
};

const Puzzles& puzzles() {
    static const Puzzles made = [] {
        Puzzles p;
        std::mt19937 draw(17);
        bool haveOne = false, haveTwo = false;
        while (!haveOne || !haveTwo) {
            Grid g;
            fillRandomly(g, draw);
            if (!haveOne) {
                Grid q = withRectanglesEmptied(g, 1);
                if (q != Grid{}) {
                    p.oneGuess = q;
                    haveOne = true;
                }
            }
            if (!haveTwo) {
                Grid q = withRectanglesEmptied(g, 2);
                if (q != Grid{}) {
                    p.twoGuess = q;
                    haveTwo = true;
                }
            }
        }
        p.singles = test::gridFromText(
            "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79");
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
void BM_SolveEmptyBoard(benchmark::State& state) { solveFrom(state, Grid{}); }
BENCHMARK(BM_SolveSinglesPuzzle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveOneGuessPuzzle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveTwoGuessPuzzle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveEmptyBoard)->Unit(benchmark::kMicrosecond);

// One logic pass over the empty board: every trial of every cell fits and nothing is placed.
void BM_OneLogicPassEmptyBoard(benchmark::State& state) {
    SolverObserver unseen;
    Grid board;
    for (auto _ : state) {
        for (int bx = 1; bx <= 7; bx += 3)
            for (int by = 1; by <= 7; by += 3) solveBoxSingles(board, bx, by, unseen);
        for (int k = 1; k <= 9; ++k) {
            solveRowSingles(board, k, unseen);
            solveColumnSingles(board, k, unseen);
        }
    }
}
BENCHMARK(BM_OneLogicPassEmptyBoard)->Unit(benchmark::kMicrosecond);

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

// A trial right after the board was written: the whole board is tallied again.
void BM_TrialPlacementAfterWrite(benchmark::State& state) {
    Grid board = puzzles().singles;
    std::uint8_t toggle = 0;
    for (auto _ : state) {
        board(0, 0) = toggle ^= 1;
        benchmark::DoNotOptimize(trialPlacement(board, 3, 1, 4));
    }
}
BENCHMARK(BM_TrialPlacementAfterWrite);

void BM_IsConsistentFullBoard(benchmark::State& state) {
    Grid board;
    std::mt19937 draw(5);
    fillRandomly(board, draw);
    std::uint8_t toggle = 0;
    for (auto _ : state) {
        board(0, 0) = toggle ^= 1;
        benchmark::DoNotOptimize(isConsistent(board));
    }
}
BENCHMARK(BM_IsConsistentFullBoard);

void shuffleIn(benchmark::State& state, bool keepSymmetry) {
    seedRandom(99);
    Grid board, givens = puzzles().singles;
    std::mt19937 draw(8);
    fillRandomly(board, draw);
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
