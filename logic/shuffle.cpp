// The board shuffle that disguises a stored puzzle, in a symmetric and a free mode; board and givens move together.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/shuffle.h"

#include "platform/system.h"

#include <array>
#include <utility>

namespace nonari {

namespace {

constexpr int teuflisch = 4;

bool isLine(int v) { return v >= 1 && v <= 9; }
bool isGroup(int v) { return v >= 1 && v <= 3; }

void swapCells(Grid& board, Grid& givens, int x1, int y1, int x2, int y2) {
    std::swap(board(x1, y1), board(x2, y2));
    std::swap(givens(x1, y1), givens(x2, y2));
}

void shuffleSymmetric(Grid& board, Grid& givens) {
    int n = random(50) + 50;
    for (int k = 0; k < n; ++k) {
        int i = random(2) + 1;
        swapRows(board, givens, i, i + 1);
        swapRows(board, givens, 10 - i, 9 - i);
        i = random(2) + 1;
        swapColumns(board, givens, i, i + 1);
        swapColumns(board, givens, 10 - i, 9 - i);
        swapStacks(board, givens, 1, 3);
        if (random(2) == 0) swapBands(board, givens, 1, 3);
        if (random(2) == 0) swapMiddleLines(board, givens);
        if (random(2) == 0) flipRows(board, givens);
        if (random(2) == 0) flipColumns(board, givens);
        if (random(2) == 0) rotateBoard(board, givens);
        relabelDigits(board, givens);
    }
}

void shuffleFree(Grid& board, Grid& givens) {
    int n = random(100) + 100;
    for (int k = 0; k < n; ++k) {
        int i = random(2) + 1;
        swapRows(board, givens, i, i + 1);
        i = random(2) + 1;
        i += 3 * random(3);
        swapColumns(board, givens, i, i + 1);
        int p = random(3) + 1;
        int q = random(3) + 1;
        swapStacks(board, givens, q, p);
        p = random(3) + 1;
        q = random(3) + 1;
        swapBands(board, givens, q, p);
        if (random(2) == 0) flipRows(board, givens);
        if (random(2) == 0) flipColumns(board, givens);
        if (random(2) == 0) rotateBoard(board, givens);
        relabelDigits(board, givens);
    }
}

}  // namespace

bool shuffleKeepsSymmetry(bool symmetryOn, int difficulty) { return symmetryOn && difficulty != teuflisch; }

void shuffleBoard(Grid& board, Grid& givens, bool keepSymmetry) {
    if (keepSymmetry) shuffleSymmetric(board, givens);
    else shuffleFree(board, givens);
}

void swapRows(Grid& board, Grid& givens, int a, int b) {
    if (!isLine(a) || !isLine(b) || a == b) return;
    for (int x = 1; x <= 9; ++x) swapCells(board, givens, x, a, x, b);
}

void swapColumns(Grid& board, Grid& givens, int a, int b) {
    if (!isLine(a) || !isLine(b) || a == b) return;
    for (int y = 1; y <= 9; ++y) swapCells(board, givens, a, y, b, y);
}

void swapStacks(Grid& board, Grid& givens, int a, int b) {
    if (!isGroup(a) || !isGroup(b)) return;
    for (int j = 1; j <= 3; ++j) swapColumns(board, givens, 3 * (a - 1) + j, 3 * (b - 1) + j);
}

void swapBands(Grid& board, Grid& givens, int a, int b) {
    if (!isGroup(a) || !isGroup(b)) return;
    for (int j = 1; j <= 3; ++j) swapRows(board, givens, 3 * (a - 1) + j, 3 * (b - 1) + j);
}

void swapMiddleLines(Grid& board, Grid& givens) {
    swapRows(board, givens, 4, 6);
    swapColumns(board, givens, 4, 6);
}

void flipRows(Grid& board, Grid& givens) {
    for (int i = 1; i <= 4; ++i) swapRows(board, givens, i, 10 - i);
}

void flipColumns(Grid& board, Grid& givens) {
    for (int i = 1; i <= 4; ++i) swapColumns(board, givens, i, 10 - i);
}

void rotateBoard(Grid& board, Grid& givens) {
    Grid boardCopy, givensCopy;
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) {
            boardCopy(j, 10 - i) = board(i, j);
            givensCopy(j, 10 - i) = givens(i, j);
        }
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            board(x, y) = boardCopy(x, y);
            givens(x, y) = givensCopy(x, y);
        }
}

void relabelDigits(Grid& board, Grid& givens) {
    std::array<bool, 10> digitUsed;
    std::array<std::uint8_t, 10> digitMap{};
    digitUsed.fill(true);
    for (int i = 1; i <= 9; ++i) {
        int d = 0;
        do d = random(9) + 1;
        while (!digitUsed[static_cast<std::size_t>(d)]);
        digitMap[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(d);
        digitUsed[static_cast<std::size_t>(d)] = false;
    }
    // A value above 9 (a damaged file) has no image under the map and stays as it is.
    auto relabel = [&digitMap](std::uint8_t v) { return v <= 9 ? digitMap[v] : v; };
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            board(x, y) = relabel(board(x, y));
            givens(x, y) = relabel(givens(x, y));
        }
}

}  // namespace nonari
