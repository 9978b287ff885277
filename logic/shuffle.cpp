// The board shuffle that disguises a stored puzzle, in a symmetric and a free mode.
#include "logic/shuffle.h"

#include "app/game_state.h"

#include <utility>

namespace nonari {

namespace {

constexpr std::int16_t teuflisch = 4;

bool isLine(int v) { return v >= 1 && v <= 9; }
bool isGroup(int v) { return v >= 1 && v <= 3; }

void swapCells(int x1, int y1, int x2, int y2) {
    std::swap(game.board(x1, y1), game.board(x2, y2));
    std::swap(game.givens(x1, y1), game.givens(x2, y2));
}

void shuffleSymmetric() {
    int n = random(50) + 50;
    for (int k = 0; k < n; ++k) {
        int i = random(2) + 1;
        swapRows(i, i + 1);
        swapRows(10 - i, 9 - i);
        i = random(2) + 1;
        swapColumns(i, i + 1);
        swapColumns(10 - i, 9 - i);
        swapStacks(1, 3);
        if (random(2) == 0) swapBands(1, 3);
        if (random(2) == 0) swapMiddleLines();
        if (random(2) == 0) flipRows();
        if (random(2) == 0) flipColumns();
        if (random(2) == 0) rotateBoard();
        relabelDigits();
    }
}

void shuffleFree() {
    int n = random(100) + 100;
    for (int k = 0; k < n; ++k) {
        int i = random(2) + 1;
        swapRows(i, i + 1);
        i = random(2) + 1;
        i += 3 * random(3);
        swapColumns(i, i + 1);
        int p = random(3) + 1;
        int q = random(3) + 1;
        swapStacks(q, p);
        p = random(3) + 1;
        q = random(3) + 1;
        swapBands(q, p);
        if (random(2) == 0) flipRows();
        if (random(2) == 0) flipColumns();
        if (random(2) == 0) rotateBoard();
        relabelDigits();
    }
}

}  // namespace

void shuffleBoard() {
    if (game.symmetryOn && game.difficulty != teuflisch) shuffleSymmetric();
    else shuffleFree();
}

void swapRows(int a, int b) {
    if (!isLine(a) || !isLine(b) || a == b) return;
    for (int x = 1; x <= 9; ++x) swapCells(x, a, x, b);
}

void swapColumns(int a, int b) {
    if (!isLine(a) || !isLine(b) || a == b) return;
    for (int y = 1; y <= 9; ++y) swapCells(a, y, b, y);
}

void swapStacks(int a, int b) {
    if (!isGroup(a) || !isGroup(b)) return;
    for (int j = 1; j <= 3; ++j) swapColumns(3 * (a - 1) + j, 3 * (b - 1) + j);
}

void swapBands(int a, int b) {
    if (!isGroup(a) || !isGroup(b)) return;
    for (int j = 1; j <= 3; ++j) swapRows(3 * (a - 1) + j, 3 * (b - 1) + j);
}

void swapMiddleLines() {
    swapRows(4, 6);
    swapColumns(4, 6);
}

void flipRows() {
    for (int i = 1; i <= 4; ++i) swapRows(i, 10 - i);
}

void flipColumns() {
    for (int i = 1; i <= 4; ++i) swapColumns(i, 10 - i);
}

void rotateBoard() {
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) {
            game.boardCopy(j, 10 - i) = game.board(i, j);
            game.givensCopy(j, 10 - i) = game.givens(i, j);
        }
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            game.board(x, y) = game.boardCopy(x, y);
            game.givens(x, y) = game.givensCopy(x, y);
        }
}

void relabelDigits() {
    game.digitUsed.fill(true);
    game.digitMap.fill(0);
    for (int i = 1; i <= 9; ++i) {
        int d = 0;
        do d = random(9) + 1;
        while (!game.digitUsed[static_cast<std::size_t>(d)]);
        game.digitMap[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(d);
        game.digitUsed[static_cast<std::size_t>(d)] = false;
    }
    // A value above 9 (a damaged file) has no image under the map and stays as it is.
    auto relabel = [](std::uint8_t v) { return v <= 9 ? game.digitMap[v] : v; };
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            game.board(x, y) = relabel(game.board(x, y));
            game.givens(x, y) = relabel(game.givens(x, y));
        }
}

}  // namespace nonari
