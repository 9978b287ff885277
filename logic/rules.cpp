// Rule checks on the whole board, candidates, and the two resets of a game's grids.
#include "logic/rules.h"

#include "app/game_state.h"
#include "screen/board_view.h"

#include <cstdint>
#include <cstring>

namespace nonari {

namespace {

// Digit masks of every unit, derived from one image of the board. Every caller may write the
// board directly, so the masks are trusted only while the board still equals that image;
// comparing 100 bytes is far cheaper than tallying 27 units for each trial placement.
struct UnitMasks {
    std::array<std::uint8_t, 100> image{};
    std::uint16_t column[10]{};
    std::uint16_t row[10]{};
    std::uint16_t box[9]{};
    bool consistent = true;  // the image above is the empty board
};

UnitMasks masks;

int boxIndex(int x, int y) { return (x - 1) / 3 * 3 + (y - 1) / 3; }

void tallyBoard() {
    masks.image = game.board.cell;
    masks.consistent = true;
    std::memset(masks.column, 0, sizeof masks.column);
    std::memset(masks.row, 0, sizeof masks.row);
    std::memset(masks.box, 0, sizeof masks.box);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            int value = game.board(x, y);
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

const UnitMasks& currentMasks() {
    if (masks.image != game.board.cell) tallyBoard();
    return masks;
}

bool onBoard(int v) { return v >= 1 && v <= 9; }

}  // namespace

bool isConsistent() { return currentMasks().consistent; }

bool isBoxConsistent(int bx, int by) {
    if (!onBoard(bx) || !onBoard(by) || bx > 7 || by > 7) return true;
    game.unitCount.fill(0);
    bool consistent = true;
    for (int x = bx; x <= bx + 2; ++x)
        for (int y = by; y <= by + 2; ++y) {
            int value = game.board(x, y);
            if (value > 9) {
                consistent = false;
                continue;
            }
            if (++game.unitCount[static_cast<std::size_t>(value)] > 1 && value != 0) consistent = false;
        }
    return consistent;
}

bool trialPlacement(int x, int y, int d) {
    if (!onBoard(x) || !onBoard(y) || !onBoard(d)) return false;
    std::uint8_t& cell = game.board(x, y);
    if (cell != 0) {
        // Not an empty cell: answer for the board with d in its place, then put its digit back.
        std::uint8_t previous = cell;
        cell = static_cast<std::uint8_t>(d);
        bool fits = isConsistent();
        cell = previous;
        return fits;
    }
    // With the cell empty, d fits exactly when the board is free of conflicts and d is new to
    // the cell's column, row and box: the same answer as writing d and testing the whole board.
    const UnitMasks& m = currentMasks();
    auto bit = static_cast<std::uint16_t>(1u << d);
    return m.consistent && !(m.column[x] & bit) && !(m.row[y] & bit) && !(m.box[boxIndex(x, y)] & bit);
}

bool hasNoDeadCell() {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            if (game.board(x, y) != 0) continue;
            bool fits = false;
            for (int d = 1; d <= 9 && !fits; ++d) fits = trialPlacement(x, y, d);
            if (!fits) return false;
        }
    return true;
}

void computeCandidates() {
    game.candidates.clear();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (game.board(x, y) == 0)
                for (int d = 1; d <= 9; ++d) game.candidates(x, y, d) = trialPlacement(x, y, d);
}

void restartBoard() {
    game.candidates.clear();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (game.givens(x, y) == 0) game.board(x, y) = 0;
}

void clearBoard() {
    game.board.clear();
    game.givens.clear();
    game.candidates.clear();
    drawBoard();
}

}  // namespace nonari
