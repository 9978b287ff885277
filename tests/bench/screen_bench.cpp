// Drawing speed of the play screen on the Qt platform (offscreen): the whole board and a picker hover redraw.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"
#include "platform/qt/qt_platform.h"
#include "screen/board_view.h"
#include "screen/digit_picker.h"
#include "screen/layout.h"
#include "state/game_state.h"
#include "tests/support/test_support.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace nonari {
namespace {

// One Qt platform for all screen benchmarks, with the first screen drawn.
void prepareScreen() {
    static std::unique_ptr<Platform> qt;
    if (!qt) {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "nonari_bench";
        static char* argv[] = {name, nullptr};
        qt = createQtPlatform(argc, argv);
        qt->openMainWindow(0, 0, 862, 723);
        qt->sizeMainWindow(862, 694);
    }
    installPlatform(qt.get());
    resetGameState();
    drawBoardPanel();
    // A game in progress: 30 givens, 20 entries, notes in the rest.
    Grid solution = test::gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
    for (int i = 0; i < 81; ++i) {
        int c = i % 9 + 1, r = i / 9 + 1;
        if (i % 8 < 3) game.puzzle.givens(c, r) = game.puzzle.board(c, r) = solution(c, r);
        else if (i % 4 == 0) game.puzzle.board(c, r) = solution(c, r);
        else
            for (int d = 1; d <= 9; d += 2) game.puzzle.candidates(c, r, d) = true;
    }
}

void BM_DrawBoard(benchmark::State& state) {
    prepareScreen();
    for (auto _ : state) drawBoard();
}
BENCHMARK(BM_DrawBoard)->Unit(benchmark::kMicrosecond);

void BM_DrawBoardWithAutomaticCandidates(benchmark::State& state) {
    prepareScreen();
    game.settings.showCandidates = true;
    for (auto _ : state) drawBoard();
}
BENCHMARK(BM_DrawBoardWithAutomaticCandidates)->Unit(benchmark::kMicrosecond);

void BM_PickerHoverRedraw(benchmark::State& state) {
    prepareScreen();
    drawBoard();
    game.picker.noteMode = false;
    game.picker.pickerActive = true;
    game.picker.pickerColumn = 5;
    game.picker.pickerRow = 5;
    drawDigitPicker(5, 5);  // saves the background once, as the open picker has
    int square = 0;
    for (auto _ : state) {
        // Alternate between two squares so that every move changes the highlight.
        square = square == 1 ? 9 : 1;
        const PickerState& picker = game.picker;
        Win_0_MouseMove(0, 0, picker.pickerX + ((square - 1) % 3) * 30 + 15, picker.pickerY + ((square - 1) / 3) * 30 + 15);
    }
    game.picker.pickerActive = false;
    platform().discardArea(game.picker.pickerBackground);
    game.picker.pickerBackground = 0;
}
BENCHMARK(BM_PickerHoverRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nonari
