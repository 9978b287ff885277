// The human-style solver: ten passes of singles, then at most one guess on two-candidate cells.
#include "logic/solver.h"

#include "app/game_state.h"
#include "logic/rules.h"
#include "screen/board_view.h"
#include "screen/side_panels.h"

#include <utility>

namespace nonari {

namespace {

constexpr int logicPasses = 10;

// The error check of the status panel alone decides "solved"; its verdict is the only one starting with B.
bool statusSaysSolved() { return !game.statusText.empty() && game.statusText[0] == 'B'; }

void placeDigit(int x, int y, int d) {
    game.board(x, y) = static_cast<std::uint8_t>(d);
    drawEntryCell(x, y, d);
}

void copyCells(const Grid& from, Grid& to) {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) to(x, y) = from(x, y);
}

// Places d in the only empty cell of a unit where it fits; cellOf maps 0..8 to a cell of the unit.
template <typename CellOf>
void placeHiddenSingle(int d, CellOf cellOf) {
    int fits = 0, lastX = 0, lastY = 0;
    for (int i = 0; i < 9; ++i) {
        auto [x, y] = cellOf(i);
        if (game.board(x, y) == 0 && trialPlacement(x, y, d)) {
            ++fits;
            lastX = x;
            lastY = y;
        }
    }
    if (fits == 1) placeDigit(lastX, lastY, d);
}

}  // namespace

void solveBoard() {
    for (int pass = 0; pass < logicPasses; ++pass) {
        for (int bx = 1; bx <= 7; bx += 3)
            for (int by = 1; by <= 7; by += 3) solveBoxSingles(bx, by);
        for (int k = 1; k <= 9; ++k) {
            solveRowSingles(k);
            solveColumnSingles(k);
        }
    }
    updateStatistics();
    if (!statusSaysSolved() && !game.guessing) guessPairs();
}

void solveBoxSingles(int bx, int by) {
    for (int x = bx; x <= bx + 2; ++x)
        for (int y = by; y <= by + 2; ++y) {
            if (game.board(x, y) != 0) continue;
            int fits = 0, last = 0;
            for (int d = 1; d <= 9; ++d)
                if (trialPlacement(x, y, d)) {
                    ++fits;
                    last = d;
                }
            if (fits == 1) placeDigit(x, y, last);
        }
    for (int d = 1; d <= 9; ++d)
        placeHiddenSingle(d, [bx, by](int i) { return std::pair{bx + i / 3, by + i % 3}; });
}

void solveRowSingles(int y) {
    for (int d = 1; d <= 9; ++d) placeHiddenSingle(d, [y](int i) { return std::pair{i + 1, y}; });
}

void solveColumnSingles(int x) {
    for (int d = 1; d <= 9; ++d) placeHiddenSingle(d, [x](int i) { return std::pair{x, i + 1}; });
}

void guessPairs() {
    game.guessing = true;
    copyCells(game.board, game.boardCopy);
    for (int k = 1; k <= 9; ++k) {
        guessPairsInRow(k);
        if (statusSaysSolved()) break;
    }
    game.guessing = false;
}

void guessPairsInRow(int y) {
    for (int x = 1; x <= 9; ++x) {
        if (game.board(x, y) != 0) continue;
        int count = 0, first = 0, second = 0;
        for (int d = 1; d <= 9; ++d) {
            if (!trialPlacement(x, y, d)) continue;
            ++count;
            if (count == 1) first = d;
            else if (count == 2) second = d;
            else first = second = 0;
        }
        if (second == 0) continue;

        placeDigit(x, y, first);
        solveBoard();
        if (statusSaysSolved()) return;

        copyCells(game.boardCopy, game.board);
        placeDigit(x, y, second);
        solveBoard();
        if (statusSaysSolved()) return;

        copyCells(game.boardCopy, game.board);
        placeDigit(x, y, 0);
    }
    // Restoring the copy does not redraw; this removes what failed guesses left on the screen.
    drawBoard();
}

void solveCommand() {
    solveBoard();
    bool solved = game.boardFull && isConsistent();
    if (!solved && !hasNoDeadCell()) {
        restartBoard();
        solveBoard();
    }
}

}  // namespace nonari
