// What a player waits for during a game: "Lösen" on boards of increasing difficulty, a board redraw on Qt (offscreen).
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/solver.h"
#include "platform/platform.h"
#include "platform/qt/qt_platform.h"
#include "screen/board_view.h"
#include "screen/layout.h"
#include "state/game_state.h"
#include "tests/support/test_support.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace nonari {
namespace {

// A solution grid with two swappable rectangles, cells x y / y x in two rows of one band and two columns of
// different stacks: with one emptied the first guess solves the board, with both every guess fails.
const char* const solved = "365781429941326875728549613279658134514237968683194752856412397437965281192873546";
Grid puzzle(int which) {
    if (which == 0)
        return test::gridFromText("53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79");
    Grid grid = test::gridFromText(solved);
    for (int c : {2, 5}) grid(c, 2) = grid(c, 3) = 0;
    if (which == 2)
        for (int c : {1, 8}) grid(c, 5) = grid(c, 6) = 0;
    return grid;
}

void BM_Solve(benchmark::State& state) {
    const Grid givens = puzzle(static_cast<int>(state.range(0)));
    SolverObserver unseen;
    CandidateGrid notes;
    bool solved = false;
    for (auto _ : state) {
        Grid board = givens;
        solved = solveCommand(board, givens, notes, unseen);
        benchmark::DoNotOptimize(board);
    }
    state.SetLabel(solved ? "solved" : "open");
}
BENCHMARK(BM_Solve)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// A whole board redraw on Qt, as after every command, of a game in progress: 30 givens, 20 entries, notes in the
// rest; with the automatic candidates too.
void BM_DrawBoard(benchmark::State& state) {
    static const std::unique_ptr<Platform> qt = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "nonari_bench", *argv[] = {name, nullptr};
        std::unique_ptr<Platform> made = createQtPlatform(argc, argv);
        made->openMainWindow(0, 0, 862, 723), made->sizeMainWindow(862, 694);
        return made;
    }();
    installPlatform(qt.get()), resetGameState(), drawBoardPanel();
    const Grid solution = test::gridFromText(solved);
    for (int i = 0; i < 81; ++i) {
        const int c = i % 9 + 1, r = i / 9 + 1;
        if (i % 8 < 3) game.puzzle.givens(c, r) = game.puzzle.board(c, r) = solution(c, r);
        else if (i % 4 == 0) game.puzzle.board(c, r) = solution(c, r);
        else
            for (int d = 1; d <= 9; d += 2) game.puzzle.candidates(c, r, d) = true;
    }
    game.settings.showCandidates = state.range(0) != 0;
    for (auto _ : state) drawBoard();
}
BENCHMARK(BM_DrawBoard)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nonari
