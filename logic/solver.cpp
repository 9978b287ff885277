// The human-style solver: ten passes of singles, then at most one guess on two-candidate cells.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/solver.h"

#include "logic/rules.h"

#include <utility>

namespace nonari {

namespace {

constexpr int logicPasses = 10;

void placeDigit(Grid& board, int x, int y, int d, SolverObserver& observer) {
    board(x, y) = static_cast<std::uint8_t>(d);
    observer.placed(x, y, d);
}

void copyCells(const Grid& from, Grid& to) {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) to(x, y) = from(x, y);
}

bool solved(const Grid& board) { return boardVerdict(board) == BoardVerdict::Solved; }

// Places d in the only empty cell of a unit where it fits; cellOf maps 0..8 to a cell of the unit.
template <typename CellOf>
void placeHiddenSingle(Grid& board, int d, CellOf cellOf, SolverObserver& observer) {
    int fits = 0, lastX = 0, lastY = 0;
    for (int i = 0; i < 9; ++i) {
        auto [x, y] = cellOf(i);
        if (board(x, y) == 0 && trialPlacement(board, x, y, d)) {
            ++fits;
            lastX = x;
            lastY = y;
        }
    }
    if (fits == 1) placeDigit(board, lastX, lastY, d, observer);
}

void runPasses(Grid& board, SolverObserver& observer) {
    for (int pass = 0; pass < logicPasses; ++pass) {
        for (int bx = 1; bx <= 7; bx += 3)
            for (int by = 1; by <= 7; by += 3) solveBoxSingles(board, bx, by, observer);
        for (int k = 1; k <= 9; ++k) {
            solveRowSingles(board, k, observer);
            solveColumnSingles(board, k, observer);
        }
    }
    observer.passesFinished();
}

// Each guess runs the passes once more from the board the logic left (`start`); true when one solved it.
bool guessPairsInRow(Grid& board, const Grid& start, int y, SolverObserver& observer) {
    for (int x = 1; x <= 9; ++x) {
        if (board(x, y) != 0) continue;
        int count = 0, first = 0, second = 0;
        for (int d = 1; d <= 9; ++d) {
            if (!trialPlacement(board, x, y, d)) continue;
            ++count;
            if (count == 1) first = d;
            else if (count == 2) second = d;
            else first = second = 0;
        }
        if (second == 0) continue;

        for (int guess : {first, second}) {
            copyCells(start, board);
            placeDigit(board, x, y, guess, observer);
            runPasses(board, observer);
            if (solved(board)) return true;
        }
        copyCells(start, board);
        placeDigit(board, x, y, 0, observer);
    }
    // Putting the board back reported nothing; the caller shows the board as it is again.
    observer.guessesUndone();
    return false;
}

void guessPairs(Grid& board, SolverObserver& observer) {
    const Grid start = board;
    for (int y = 1; y <= 9; ++y)
        if (guessPairsInRow(board, start, y, observer)) return;
}

}  // namespace

void solveBoard(Grid& board, SolverObserver& observer) {
    runPasses(board, observer);
    if (!solved(board)) guessPairs(board, observer);
}

void solveBoxSingles(Grid& board, int bx, int by, SolverObserver& observer) {
    for (int x = bx; x <= bx + 2; ++x)
        for (int y = by; y <= by + 2; ++y) {
            if (board(x, y) != 0) continue;
            int fits = 0, last = 0;
            for (int d = 1; d <= 9; ++d)
                if (trialPlacement(board, x, y, d)) {
                    ++fits;
                    last = d;
                }
            if (fits == 1) placeDigit(board, x, y, last, observer);
        }
    for (int d = 1; d <= 9; ++d)
        placeHiddenSingle(board, d, [bx, by](int i) { return std::pair{bx + i / 3, by + i % 3}; }, observer);
}

void solveRowSingles(Grid& board, int y, SolverObserver& observer) {
    for (int d = 1; d <= 9; ++d) placeHiddenSingle(board, d, [y](int i) { return std::pair{i + 1, y}; }, observer);
}

void solveColumnSingles(Grid& board, int x, SolverObserver& observer) {
    for (int d = 1; d <= 9; ++d) placeHiddenSingle(board, d, [x](int i) { return std::pair{x, i + 1}; }, observer);
}

bool solveCommand(Grid& board, const Grid& givens, CandidateGrid& candidates, SolverObserver& observer) {
    solveBoard(board, observer);
    if (!solved(board) && !hasNoDeadCell(board)) {
        restartBoard(board, givens, candidates);
        solveBoard(board, observer);
    }
    return solved(board);
}

}  // namespace nonari
