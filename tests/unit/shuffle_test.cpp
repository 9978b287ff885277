// The board shuffle: solution grids stay valid, givens travel with their digits, symmetry survives.
#include "logic/shuffle.h"

#include "tests/support/test_support.h"

#include <algorithm>

namespace nonari {
namespace {

const Grid solution =
    test::gridFromText("123456789456789123789123456234567891567891234891234567345678912678912345912345678");

using ShuffleTest = test::HeadlessGame;

TEST_F(ShuffleTest, GridsStayValidGivensTravelAndSymmetryHoldsOutsideTeuflisch) {
    for (auto [symmetryOn, difficulty] : {std::pair{true, 3}, {false, 0}, {true, 4}}) {
        SCOPED_TRACE(difficulty);
        game.symmetryOn = symmetryOn;
        game.difficulty = static_cast<std::int16_t>(difficulty);
        // A full solution with an irregular, half-turn symmetric set of givens; the other cells are entries.
        game.board = solution;
        game.givens.clear();
        for (int i = 0; i <= 40; ++i)
            if (i % 5 == 1 || i % 7 == 3) game.givens(i % 9 + 1, i / 9 + 1) = game.givens(9 - i % 9, 9 - i / 9) = 1;
        for (std::size_t i = 0; i < 100; ++i) game.givens.cell[i] = game.givens.cell[i] ? solution.cell[i] : 0;
        const Grid startGivens = game.givens;
        int asymmetric = 0;  // shuffles whose givens lost the half-turn symmetry
        for (int round = 0; round < 25; ++round) {
            shuffleBoard();
            ASSERT_EQ(test::countSolutions(game.board), 1);
            bool symmetric = true;
            ASSERT_EQ(std::ranges::count(game.givens.cell, 0), std::ranges::count(startGivens.cell, 0));
            for (int c = 1; c <= 9; ++c)
                for (int r = 1; r <= 9; ++r) {
                    const int given = game.givens(c, r);
                    ASSERT_TRUE(given == 0 || given == game.board(c, r)) << c << r;
                    symmetric &= (given != 0) == (game.givens(10 - c, 10 - r) != 0);
                }
            asymmetric += !symmetric;
        }
        EXPECT_TRUE(symmetryOn && difficulty != 4 ? asymmetric == 0 : asymmetric > 20) << asymmetric;
    }
}

int swap46(int v) { return v == 4 ? 6 : v == 6 ? 4 : v; }

// A step and the cell each cell takes its content from, as 10 * column + row.
struct Step { const char* name; void (*run)(); int (*from)(int c, int r); };
const Step steps[] = {
    {"stacks 1-3", [] { swapStacks(1, 3); },
     [](int c, int r) { return 10 * (c <= 3 ? c + 6 : c >= 7 ? c - 6 : c) + r; }},
    {"bands 2-3", [] { swapBands(2, 3); },
     [](int c, int r) { return 10 * c + (r >= 7 ? r - 3 : r >= 4 ? r + 3 : r); }},
    {"middle lines", swapMiddleLines, [](int c, int r) { return 10 * swap46(c) + swap46(r); }},
    {"flip rows", flipRows, [](int c, int r) { return 10 * c + 10 - r; }},
    {"flip columns", flipColumns, [](int c, int r) { return 10 * (10 - c) + r; }},
    {"rotate counter-clockwise", rotateBoard, [](int c, int r) { return 10 * (10 - r) + c; }},
    {"four quarter turns, each flip twice, stacks and bands with themselves", [] {
         for (int i = 0; i < 4; ++i) rotateBoard(), swapStacks(i % 3 + 1, i % 3 + 1), swapBands(i % 3 + 1, i % 3 + 1);
         flipRows(), flipRows(), flipColumns(), flipColumns();
     }, [](int c, int r) { return 10 * c + r; }},
};

TEST_F(ShuffleTest, StepsMoveCellsWhereTheyBelongWithTheirGivens) {
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        // Every cell holds its own number, 10 * column + row, and its given 110 more.
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) game.givens(c, r) = 110 + (game.board(c, r) = std::uint8_t(10 * c + r));
        step.run();
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) {
                ASSERT_EQ(game.board(c, r), step.from(c, r)) << c << r;
                ASSERT_EQ(game.givens(c, r), 110 + step.from(c, r)) << c << r;
            }
    }
    // A byte no digit can have has no image under the relabelling and stays.
    game.board = solution;
    game.board(3, 3) = 200;
    relabelDigits();
    EXPECT_EQ(game.board(3, 3), 200);
}

}  // namespace
}  // namespace nonari
