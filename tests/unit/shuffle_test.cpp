// The board shuffle: solution grids stay valid, givens travel with their digits, symmetry survives.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/shuffle.h"

#include "platform/system.h"
#include "tests/support/test_support.h"

#include <algorithm>

namespace nonari {
namespace {

const Grid solution =
    test::gridFromText("123456789456789123789123456234567891567891234891234567345678912678912345912345678");

TEST(Shuffle, GridsStayValidGivensTravelAndSymmetryHoldsOutsideTeuflisch) {
    seedRandom(7);
    EXPECT_TRUE(shuffleKeepsSymmetry(true, 3));
    EXPECT_FALSE(shuffleKeepsSymmetry(true, 4) || shuffleKeepsSymmetry(false, 0));
    for (bool keepSymmetry : {true, false}) {
        SCOPED_TRACE(keepSymmetry);
        // A full solution with an irregular, half-turn symmetric set of givens; the other cells are entries.
        Grid board = solution, givens;
        for (int i = 0; i <= 40; ++i)
            if (i % 5 == 1 || i % 7 == 3) givens(i % 9 + 1, i / 9 + 1) = givens(9 - i % 9, 9 - i / 9) = 1;
        for (std::size_t i = 0; i < 100; ++i) givens.cell[i] = givens.cell[i] ? solution.cell[i] : 0;
        const Grid startGivens = givens;
        int asymmetric = 0;  // shuffles whose givens lost the half-turn symmetry
        for (int round = 0; round < 25; ++round) {
            shuffleBoard(board, givens, keepSymmetry);
            ASSERT_EQ(test::countSolutions(board), 1);
            bool symmetric = true;
            ASSERT_EQ(std::ranges::count(givens.cell, 0), std::ranges::count(startGivens.cell, 0));
            for (int c = 1; c <= 9; ++c)
                for (int r = 1; r <= 9; ++r) {
                    const int given = givens(c, r);
                    ASSERT_TRUE(given == 0 || given == board(c, r)) << c << r;
                    symmetric &= (given != 0) == (givens(10 - c, 10 - r) != 0);
                }
            asymmetric += !symmetric;
        }
        EXPECT_TRUE(keepSymmetry ? asymmetric == 0 : asymmetric > 20) << asymmetric;
    }
}

int swap46(int v) { return v == 4 ? 6 : v == 6 ? 4 : v; }

// A step and the cell each cell takes its content from, as 10 * column + row.
struct Step { const char* name; void (*run)(Grid& b, Grid& g); int (*from)(int c, int r); };
const Step steps[] = {
    {"stacks 1-3", [](Grid& b, Grid& g) { swapStacks(b, g, 1, 3); },
     [](int c, int r) { return 10 * (c <= 3 ? c + 6 : c >= 7 ? c - 6 : c) + r; }},
    {"bands 2-3", [](Grid& b, Grid& g) { swapBands(b, g, 2, 3); },
     [](int c, int r) { return 10 * c + (r >= 7 ? r - 3 : r >= 4 ? r + 3 : r); }},
    {"middle lines", swapMiddleLines, [](int c, int r) { return 10 * swap46(c) + swap46(r); }},
    {"flip rows", flipRows, [](int c, int r) { return 10 * c + 10 - r; }},
    {"flip columns", flipColumns, [](int c, int r) { return 10 * (10 - c) + r; }},
    {"rotate counter-clockwise", rotateBoard, [](int c, int r) { return 10 * (10 - r) + c; }},
    {"four quarter turns, each flip twice, stacks and bands with themselves", [](Grid& b, Grid& g) {
         for (int i = 0; i < 4; ++i)
             rotateBoard(b, g), swapStacks(b, g, i % 3 + 1, i % 3 + 1), swapBands(b, g, i % 3 + 1, i % 3 + 1);
         flipRows(b, g), flipRows(b, g), flipColumns(b, g), flipColumns(b, g);
     }, [](int c, int r) { return 10 * c + r; }},
};

TEST(Shuffle, StepsMoveCellsWhereTheyBelongWithTheirGivens) {
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        // Every cell holds its own number, 10 * column + row, and its given 110 more.
        Grid board, givens;
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) givens(c, r) = 110 + (board(c, r) = std::uint8_t(10 * c + r));
        step.run(board, givens);
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) {
                ASSERT_EQ(board(c, r), step.from(c, r)) << c << r;
                ASSERT_EQ(givens(c, r), 110 + step.from(c, r)) << c << r;
            }
    }
    // A byte no digit can have has no image under the relabelling and stays.
    Grid board = solution, givens;
    board(3, 3) = 200;
    relabelDigits(board, givens);
    EXPECT_EQ(board(3, 3), 200);
}

}  // namespace
}  // namespace nonari
