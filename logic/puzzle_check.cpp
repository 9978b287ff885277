// Whether a stored puzzle can be played: a search for one completion over bit sets of the digits in use.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/puzzle_check.h"

#include <array>
#include <bit>
#include <cstdint>

namespace nonari {

namespace {

constexpr std::uint16_t allDigits = 0x3FE;  // bits 1..9

class Completion {
public:
    // False when the digits as they stand already break a rule.
    bool take(const Grid& board) {
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) {
                const int d = board(c, r);
                if (d == 0) continue;
                if (d > 9 || (used(c, r) & bit(d)) != 0) return false;
                set(c, r, d);
            }
        return true;
    }

    // Fills the cell with the fewest fitting digits first, which decides a real puzzle within a few thousand
    // steps. A board still undecided after the budget counts as unsolvable: no stored puzzle comes near it.
    bool search() {
        if (--budget < 0) return false;
        int bestC = 0, bestR = 0, bestCount = 10;
        std::uint16_t bestFree = 0;
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) {
                if (cell[index(c, r)] != 0) continue;
                const auto free = static_cast<std::uint16_t>(~used(c, r) & allDigits);
                const int count = std::popcount(free);
                if (count == 0) return false;  // a cell without any digit
                if (count < bestCount) bestC = c, bestR = r, bestCount = count, bestFree = free;
            }
        if (bestC == 0) return true;
        for (int d = 1; d <= 9; ++d) {
            if ((bestFree & bit(d)) == 0) continue;
            set(bestC, bestR, d);
            if (search()) return true;
            unset(bestC, bestR, d);
        }
        return false;
    }

private:
    static std::uint16_t bit(int d) { return static_cast<std::uint16_t>(1u << d); }
    static int index(int c, int r) { return (r - 1) * 9 + c - 1; }
    static int box(int c, int r) { return (r - 1) / 3 * 3 + (c - 1) / 3; }
    std::uint16_t used(int c, int r) const { return rows[r - 1] | columns[c - 1] | boxes[box(c, r)]; }
    void set(int c, int r, int d) {
        rows[r - 1] |= bit(d), columns[c - 1] |= bit(d), boxes[box(c, r)] |= bit(d);
        cell[index(c, r)] = static_cast<std::uint8_t>(d);
    }
    void unset(int c, int r, int d) {
        rows[r - 1] &= ~bit(d), columns[c - 1] &= ~bit(d), boxes[box(c, r)] &= ~bit(d);
        cell[index(c, r)] = 0;
    }

    std::array<std::uint16_t, 9> rows{}, columns{}, boxes{};
    std::array<std::uint8_t, 81> cell{};
    long budget = 500'000;
};

}  // namespace

bool hasSolution(const Grid& board) {
    Completion completion;
    return completion.take(board) && completion.search();
}

bool isUsablePuzzle(const Grid& board, const Grid& givens) {
    bool empty = false;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            if (givens(c, r) != 0 && board(c, r) != givens(c, r)) return false;
            empty = empty || board(c, r) == 0;
        }
    return empty && hasSolution(board);
}

}  // namespace nonari
