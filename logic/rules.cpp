// Rule checks on a board, its candidates, its verdict, and the reset of a game's grids to its givens.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/rules.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace nonari {

namespace {

// Digit masks of every unit of the board last asked about. The solver asks thousands of times
// about a board that changes by a digit at a time: comparing 100 bytes is far cheaper than
// tallying 27 units for each question.
struct UnitMasks {
    std::array<std::uint8_t, 100> image{};
    std::uint16_t column[10]{};
    std::uint16_t row[10]{};
    std::uint16_t box[9]{};
    bool consistent = true;  // the image above is the empty board
};

thread_local UnitMasks masks;

int boxIndex(int x, int y) { return (x - 1) / 3 * 3 + (y - 1) / 3; }

void tallyBoard(const Grid& board) {
    masks.image = board.cell;
    masks.consistent = true;
    std::memset(masks.column, 0, sizeof masks.column);
    std::memset(masks.row, 0, sizeof masks.row);
    std::memset(masks.box, 0, sizeof masks.box);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            int value = board(x, y);
            if (value == 0) continue;
            // A value no digit can have (a damaged file) is a conflict in itself.
            if (value > 9) {
                masks.consistent = false;
                continue;
            }
            auto bit = static_cast<std::uint16_t>(1u << value);
            std::uint16_t& box = masks.box[boxIndex(x, y)];
            if ((masks.column[x] & bit) || (masks.row[y] & bit) || (box & bit)) masks.consistent = false;
            masks.column[x] |= bit;
            masks.row[y] |= bit;
            box |= bit;
        }
}

const UnitMasks& masksOf(const Grid& board) {
    if (masks.image != board.cell) tallyBoard(board);
    return masks;
}

bool onBoard(int v) { return v >= 1 && v <= 9; }

}  // namespace

bool isConsistent(const Grid& board) { return masksOf(board).consistent; }

bool trialPlacement(const Grid& board, int x, int y, int d) {
    if (!onBoard(x) || !onBoard(y) || !onBoard(d)) return false;
    if (board(x, y) != 0) {
        // Not an empty cell: answer for the board with d in its place.
        Grid trial = board;
        trial(x, y) = static_cast<std::uint8_t>(d);
        return isConsistent(trial);
    }
    // With the cell empty, d fits exactly when the board is free of conflicts and d is new to
    // the cell's column, row and box: the same answer as writing d and testing the whole board.
    const UnitMasks& m = masksOf(board);
    auto bit = static_cast<std::uint16_t>(1u << d);
    return m.consistent && !(m.column[x] & bit) && !(m.row[y] & bit) && !(m.box[boxIndex(x, y)] & bit);
}

bool hasNoDeadCell(const Grid& board) {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            if (board(x, y) != 0) continue;
            bool fits = false;
            for (int d = 1; d <= 9 && !fits; ++d) fits = trialPlacement(board, x, y, d);
            if (!fits) return false;
        }
    return true;
}

void computeCandidates(const Grid& board, CandidateGrid& candidates) {
    candidates.clear();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (board(x, y) == 0)
                for (int d = 1; d <= 9; ++d) candidates(x, y, d) = trialPlacement(board, x, y, d);
}

void restartBoard(Grid& board, const Grid& givens, CandidateGrid& candidates) {
    candidates.clear();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (givens(x, y) == 0) board(x, y) = 0;
}

bool isBoardFull(const Grid& board) {
    std::array<int, 10> count{};
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (board(x, y) <= 9) ++count[board(x, y)];
    for (int d = 1; d <= 9; ++d)
        if (count[static_cast<std::size_t>(d)] != 9) return false;
    return true;
}

bool clashesAt(const Grid& board, int x, int y) {
    const int digit = board(x, y);
    if (!onBoard(digit)) return false;
    const int bx = (x - 1) / 3 * 3 + 1, by = (y - 1) / 3 * 3 + 1;
    for (int i = 1; i <= 9; ++i) {
        if ((i != y && board(x, i) == digit) || (i != x && board(i, y) == digit)) return true;
        const int cx = bx + (i - 1) % 3, cy = by + (i - 1) / 3;
        if ((cx != x || cy != y) && board(cx, cy) == digit) return true;
    }
    return false;
}

Grid clashingCells(const Grid& board) {
    Grid marked;
    if (isConsistent(board)) return marked;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) marked(x, y) = clashesAt(board, x, y) ? 1 : 0;
    return marked;
}

BoardVerdict boardVerdict(const Grid& board) {
    if (!isConsistent(board)) return BoardVerdict::WrongDigit;
    return isBoardFull(board) ? BoardVerdict::Solved : BoardVerdict::NoErrors;
}

}  // namespace nonari
