// Grid geometry, the generator's random draws, solution counting and random solution grids.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/puzzle_grid.h"

#include <bit>

namespace nonari {

namespace {

struct Geometry {
    std::array<std::array<int, 9>, 27> units{};
    std::array<std::array<int, 20>, 81> peers{};
    std::array<std::array<bool, 81>, 81> sees{};
};

Geometry makeGeometry() {
    Geometry g;
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j) {
            g.units[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = 9 * i + j;
            g.units[static_cast<std::size_t>(9 + i)][static_cast<std::size_t>(j)] = 9 * j + i;
            g.units[static_cast<std::size_t>(18 + i)][static_cast<std::size_t>(j)] =
                27 * (i / 3) + 3 * (i % 3) + 9 * (j / 3) + j % 3;
        }
    for (int a = 0; a < 81; ++a) {
        int n = 0;
        for (int b = 0; b < 81; ++b) {
            bool linked = a != b && (rowOf(a) == rowOf(b) || columnOf(a) == columnOf(b) || boxOf(a) == boxOf(b));
            g.sees[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = linked;
            if (linked) g.peers[static_cast<std::size_t>(a)][static_cast<std::size_t>(n++)] = b;
        }
    }
    return g;
}

const Geometry& geometry() {
    static const Geometry g = makeGeometry();
    return g;
}

// Search state: the digits already used in each row, column and box.
struct SearchState {
    Puzzle grid{};
    std::array<DigitMask, 9> row{}, column{}, box{};

    DigitMask free(int cell) const {
        return static_cast<DigitMask>(allDigits & ~(row[static_cast<std::size_t>(rowOf(cell))] |
                                                    column[static_cast<std::size_t>(columnOf(cell))] |
                                                    box[static_cast<std::size_t>(boxOf(cell))]));
    }
    void set(int cell, int digit) {
        DigitMask bit = static_cast<DigitMask>(1u << digit);
        grid[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(digit);
        row[static_cast<std::size_t>(rowOf(cell))] |= bit;
        column[static_cast<std::size_t>(columnOf(cell))] |= bit;
        box[static_cast<std::size_t>(boxOf(cell))] |= bit;
    }
    void unset(int cell, int digit) {
        DigitMask bit = static_cast<DigitMask>(~(1u << digit));
        grid[static_cast<std::size_t>(cell)] = 0;
        row[static_cast<std::size_t>(rowOf(cell))] &= bit;
        column[static_cast<std::size_t>(columnOf(cell))] &= bit;
        box[static_cast<std::size_t>(boxOf(cell))] &= bit;
    }
};

bool loadSearchState(const Puzzle& puzzle, SearchState& state) {
    if (!isConsistent(puzzle)) return false;
    for (int cell = 0; cell < 81; ++cell) {
        int d = puzzle[static_cast<std::size_t>(cell)];
        if (d != 0) state.set(cell, d);
    }
    return true;
}

// The empty cell with the fewest fitting digits; -1 when the grid is full.
int mostConstrainedCell(const SearchState& state, DigitMask& options) {
    int best = -1;
    int bestCount = 10;
    for (int cell = 0; cell < 81; ++cell) {
        if (state.grid[static_cast<std::size_t>(cell)] != 0) continue;
        DigitMask m = state.free(cell);
        int n = digitCount(m);
        if (n < bestCount) {
            best = cell;
            bestCount = n;
            options = m;
            if (n <= 1) break;
        }
    }
    return best;
}

void countFrom(SearchState& state, int limit, int& found, Puzzle* first) {
    DigitMask options = 0;
    int cell = mostConstrainedCell(state, options);
    if (cell < 0) {
        if (found == 0 && first != nullptr) *first = state.grid;
        ++found;
        return;
    }
    while (options != 0 && found < limit) {
        int d = firstDigit(options);
        options = static_cast<DigitMask>(options & (options - 1));
        state.set(cell, d);
        countFrom(state, limit, found, first);
        state.unset(cell, d);
    }
}

bool fillRandomly(SearchState& state, Rng& rng) {
    DigitMask options = 0;
    int cell = mostConstrainedCell(state, options);
    if (cell < 0) return true;
    std::array<int, 9> order{1, 2, 3, 4, 5, 6, 7, 8, 9};
    rng.shuffle(order);
    for (int d : order) {
        if ((options & (1u << d)) == 0) continue;
        state.set(cell, d);
        if (fillRandomly(state, rng)) return true;
        state.unset(cell, d);
    }
    return false;
}

}  // namespace

const std::array<std::array<int, 9>, 27>& units() { return geometry().units; }
const std::array<std::array<int, 20>, 81>& peers() { return geometry().peers; }
bool sees(int a, int b) { return geometry().sees[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]; }

int digitCount(DigitMask mask) { return std::popcount(static_cast<unsigned>(mask)); }
int firstDigit(DigitMask mask) { return std::countr_zero(static_cast<unsigned>(mask)); }

int givenCount(const Puzzle& puzzle) {
    int n = 0;
    for (auto d : puzzle) n += d != 0 ? 1 : 0;
    return n;
}

bool isHalfTurnSymmetric(const Puzzle& puzzle) {
    for (int cell = 0; cell < 81; ++cell)
        if ((puzzle[static_cast<std::size_t>(cell)] != 0) != (puzzle[static_cast<std::size_t>(halfTurnPartner(cell))] != 0))
            return false;
    return true;
}

bool isConsistent(const Puzzle& puzzle) {
    for (const auto& unit : units()) {
        DigitMask seen = 0;
        for (int cell : unit) {
            int d = puzzle[static_cast<std::size_t>(cell)];
            if (d == 0) continue;
            if (d > 9 || (seen & (1u << d)) != 0) return false;
            seen = static_cast<DigitMask>(seen | (1u << d));
        }
    }
    return true;
}

bool isComplete(const Puzzle& puzzle) { return givenCount(puzzle) == 81 && isConsistent(puzzle); }

std::optional<Puzzle> puzzleFromText(const std::string& text) {
    if (text.size() != 81) return std::nullopt;
    Puzzle p{};
    for (std::size_t i = 0; i < 81; ++i) {
        char ch = text[i];
        if (ch >= '1' && ch <= '9')
            p[i] = static_cast<std::uint8_t>(ch - '0');
        else if (ch != '.' && ch != '0')
            return std::nullopt;
    }
    return p;
}

std::string puzzleToText(const Puzzle& puzzle) {
    std::string text;
    for (auto d : puzzle) text += d == 0 ? '.' : static_cast<char>('0' + d);
    return text;
}

Puzzle puzzleOf(const Grid& grid) {
    Puzzle puzzle{};
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) puzzle[static_cast<std::size_t>(cellAt(c, r))] = grid(c, r);
    return puzzle;
}

Grid gridOf(const Puzzle& puzzle) {
    Grid grid;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) grid(c, r) = puzzle[static_cast<std::size_t>(cellAt(c, r))];
    return grid;
}

Rng::Rng(std::uint32_t seed, std::uint32_t stream) {
    std::seed_seq sequence{seed, stream};
    engine.seed(sequence);
}

int Rng::below(int n) {
    if (n <= 1) return 0;
    // Rejection keeps the draw uniform and identical on every standard library.
    const std::uint32_t range = static_cast<std::uint32_t>(n);
    const std::uint32_t limit = 0xFFFFFFFFu - (0xFFFFFFFFu % range + 1) % range;
    std::uint32_t value;
    do value = static_cast<std::uint32_t>(engine());
    while (value > limit);
    return static_cast<int>(value % range);
}

int countSolutions(const Puzzle& puzzle, int limit) {
    SearchState state;
    if (!loadSearchState(puzzle, state)) return 0;
    int found = 0;
    countFrom(state, limit, found, nullptr);
    return found;
}

std::optional<Puzzle> uniqueSolution(const Puzzle& puzzle) {
    SearchState state;
    if (!loadSearchState(puzzle, state)) return std::nullopt;
    int found = 0;
    Puzzle first{};
    countFrom(state, 2, found, &first);
    if (found != 1) return std::nullopt;
    return first;
}

Puzzle randomSolutionGrid(Rng& rng) {
    SearchState state;
    fillRandomly(state, rng);
    return state.grid;
}

}  // namespace nonari
