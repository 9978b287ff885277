// Speed of grading and of the generator per level: its median is a player's longest wait for a spare puzzle.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/levels.h"

#include <benchmark/benchmark.h>

namespace nonari {
namespace {

void makeOne(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    // One generator for every repetition, so that each makes a different puzzle.
    static Rng rng(4242);
    int attempts = 0;
    for (auto _ : state) {
        std::optional<MadePuzzle> made = makePuzzle(level, rng, 100000);
        attempts = made ? made->attempts : -1;
        benchmark::DoNotOptimize(made);
    }
    state.counters["grids"] = attempts;
    state.SetLabel(levels()[static_cast<std::size_t>(level)].name);
}
BENCHMARK(makeOne)->DenseRange(0, 4)->Iterations(1)->Repetitions(25)->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Grading a puzzle that needs an alternating chain, as the hint and the own-board check do.
void gradeHardest(benchmark::State& state) {
    const Puzzle puzzle = *puzzleFromText(
        "86....9....2.8.61.4.........9..62.31...9...56.3...1...1.6.9...295....1..2836.7.9.");
    for (auto _ : state) benchmark::DoNotOptimize(levelOf(puzzle));
}
BENCHMARK(gradeHardest)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nonari
