// The game's solve procedure, replayed quickly for sifting and run for real for the final verdict.
#include "tools/collection_gen/game_check.h"

#include "app/game_state.h"
#include "logic/solver.h"
#include "screen/side_panels.h"

namespace nonari::gen {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// On a consistent board a digit fits exactly when no peer holds it, which is what the game's
// whole-board trial placement amounts to while every placement keeps the board consistent.
bool fits(const Puzzle& b, int cell, int d) {
    for (int p : peers()[at(cell)])
        if (b[at(p)] == d) return false;
    return true;
}

void place(Puzzle& b, int column, int row, int d) { b[at(cellAt(column, row))] = static_cast<std::uint8_t>(d); }
bool empty(const Puzzle& b, int column, int row) { return b[at(cellAt(column, row))] == 0; }

void boxSingles(Puzzle& b, int bx, int by) {
    for (int x = bx; x <= bx + 2; ++x)
        for (int y = by; y <= by + 2; ++y) {
            if (!empty(b, x, y)) continue;
            int count = 0, last = 0;
            for (int d = 1; d <= 9; ++d)
                if (fits(b, cellAt(x, y), d)) ++count, last = d;
            if (count == 1) place(b, x, y, last);
        }
    for (int d = 1; d <= 9; ++d) {
        int count = 0, lastX = 0, lastY = 0;
        for (int x = bx; x <= bx + 2; ++x)
            for (int y = by; y <= by + 2; ++y)
                if (empty(b, x, y) && fits(b, cellAt(x, y), d)) ++count, lastX = x, lastY = y;
        if (count == 1) place(b, lastX, lastY, d);
    }
}

void lineSingles(Puzzle& b, int line, bool isRow) {
    for (int d = 1; d <= 9; ++d) {
        int count = 0, lastX = 0, lastY = 0;
        for (int k = 1; k <= 9; ++k) {
            int x = isRow ? k : line, y = isRow ? line : k;
            if (empty(b, x, y) && fits(b, cellAt(x, y), d)) ++count, lastX = x, lastY = y;
        }
        if (count == 1) place(b, lastX, lastY, d);
    }
}

bool solveBoard(Puzzle& b, bool guessing);

// The guessing stage: every two-candidate cell from the top row down, lower digit first, each trial from the
// board as the logic passes left it.
void guessPairs(Puzzle& b) {
    const Puzzle copy = b;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) {
            if (!empty(b, x, y)) continue;
            int count = 0, first = 0, second = 0;
            for (int d = 1; d <= 9; ++d)
                if (fits(b, cellAt(x, y), d)) {
                    ++count;
                    if (count == 1) first = d;
                    if (count == 2) second = d;
                }
            if (count != 2) continue;
            for (int d : {first, second}) {
                place(b, x, y, d);
                if (solveBoard(b, true)) return;
                b = copy;
            }
        }
}

bool solveBoard(Puzzle& b, bool guessing) {
    for (int pass = 0; pass < 10; ++pass) {
        for (int bx = 1; bx <= 7; bx += 3)
            for (int by = 1; by <= 7; by += 3) boxSingles(b, bx, by);
        for (int k = 1; k <= 9; ++k) {
            lineSingles(b, k, true);
            lineSingles(b, k, false);
        }
    }
    if (isComplete(b)) return true;
    if (!guessing) guessPairs(b);
    return isComplete(b);
}

}  // namespace

bool solveProcedureFinishes(const Puzzle& puzzle) {
    if (!isConsistent(puzzle)) return false;
    Puzzle b = puzzle;
    return solveBoard(b, false);
}

bool gameSolveCommandFinishes(const Puzzle& puzzle) {
    game.board.clear();
    game.givens.clear();
    game.candidates.clear();
    game.guessing = false;
    game.statusText.clear();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) game.board(x, y) = game.givens(x, y) = puzzle[at(cellAt(x, y))];
    solveCommand();
    if (game.statusText != statusSolved) return false;
    Puzzle result{};
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            int d = puzzle[at(cellAt(x, y))];
            if (d != 0 && (game.givens(x, y) != d || game.board(x, y) != d)) return false;
            result[at(cellAt(x, y))] = game.board(x, y);
        }
    return isComplete(result);
}

}  // namespace nonari::gen
