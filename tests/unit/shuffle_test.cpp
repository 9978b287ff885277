// The board shuffle: solution grids stay valid, givens travel with their digits, symmetry survives.
#include "logic/shuffle.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <set>

namespace nonari {
namespace {

const Grid solution =
    test::gridFromText("123456789456789123789123456234567891567891234891234567345678912678912345912345678");

bool isIndexZero(std::size_t i) { return i < 10 || i % 10 == 0; }

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
        for (std::size_t i = 0; i < 100; ++i) {  // index 0 of the grids is no part of the shuffle, nor are notes
            if (game.givens.cell[i] != 0) game.givens.cell[i] = solution.cell[i];
            if (isIndexZero(i)) game.board.cell[i] = game.givens.cell[i] = static_cast<std::uint8_t>(100 + i);
        }
        const auto givenCount = std::ranges::count_if(game.givens.cell, [](int v) { return v > 0 && v < 10; });
        game.candidates(1, 1, 1) = game.candidates(2, 9, 7) = game.candidates(0, 3, 3) = true;
        const CandidateGrid notes = game.candidates;
        std::set<std::string> seen;
        int asymmetric = 0;
        for (int round = 0; round < 25; ++round) {
            shuffleBoard();
            ASSERT_EQ(test::countSolutions(game.board), 1) << test::gridToText(game.board);
            int givens = 0, symmetric = 1;
            for (int c = 1; c <= 9; ++c)
                for (int r = 1; r <= 9; ++r) {
                    const int v = game.board(c, r), given = game.givens(c, r);
                    ASSERT_TRUE(v != 0 && (given == 0 || given == v)) << c << r;
                    givens += given != 0;
                    symmetric &= (given != 0) == (game.givens(10 - c, 10 - r) != 0);
                }
            ASSERT_EQ(givens, givenCount);
            asymmetric += !symmetric;
            seen.insert(test::gridToText(game.board));
        }
        EXPECT_TRUE(symmetryOn && difficulty != 4 ? asymmetric == 0 : asymmetric > 20) << asymmetric;
        EXPECT_EQ(seen.size(), 25u);  // every shuffle shows another board
        for (std::size_t i = 0; i < 100; ++i)
            ASSERT_TRUE(!isIndexZero(i) || (game.board.cell[i] == 100 + i && game.givens.cell[i] == 100 + i)) << i;
        EXPECT_EQ(game.candidates, notes);
    }
}

// Line v after the groups of three lines a and b changed places.
int swapGroups(int v, int a, int b) {
    int group = (v - 1) / 3 + 1;
    return group == a ? v + 3 * (b - a) : group == b ? v + 3 * (a - b) : v;
}
int swap46(int v) { return v == 4 ? 6 : v == 6 ? 4 : v; }
int same(int c, int r) { return 10 * c + r; }

// A step and the cell each cell takes its content from, as 10 * column + row (none: only the symmetry is checked).
struct Step { const char* name; void (*run)(); int (*from)(int c, int r); bool inSymmetricIteration = true; };
const Step steps[] = {
    {"rows 1-2 with 9-8", [] { swapRows(1, 2), swapRows(9, 8); }, nullptr},
    {"rows 2-3 with 8-7", [] { swapRows(2, 3), swapRows(8, 7); }, nullptr},
    {"columns 1-2 with 9-8", [] { swapColumns(1, 2), swapColumns(9, 8); }, nullptr},
    {"columns 2-3 with 8-7", [] { swapColumns(2, 3), swapColumns(8, 7); }, nullptr},
    {"stacks 1-3", [] { swapStacks(1, 3); }, [](int c, int r) { return 10 * swapGroups(c, 1, 3) + r; }},
    {"bands 1-3", [] { swapBands(1, 3); }, [](int c, int r) { return 10 * c + swapGroups(r, 1, 3); }},
    {"bands 2-3", [] { swapBands(2, 3); }, [](int c, int r) { return 10 * c + swapGroups(r, 2, 3); }, false},
    {"middle lines", swapMiddleLines, [](int c, int r) { return 10 * swap46(c) + swap46(r); }},
    {"flip rows", flipRows, [](int c, int r) { return 10 * c + 10 - r; }},
    {"flip columns", flipColumns, [](int c, int r) { return 10 * (10 - c) + r; }},
    {"rotate counter-clockwise", rotateBoard, [](int c, int r) { return 10 * (10 - r) + c; }},
    {"four quarter turns", [] { for (int i = 0; i < 4; ++i) rotateBoard(); }, same},
    {"each flip twice", [] { flipRows(), flipRows(), flipColumns(), flipColumns(); }, same},
    {"stacks and bands with themselves", [] { for (int a = 1; a <= 3; ++a) swapStacks(a, a), swapBands(a, a); }, same},
};

TEST_F(ShuffleTest, StepsMoveCellsWhereTheyBelongAndKeepTheHalfTurn) {
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        // Every cell holds its own number, 10 * column + row, and its given 110 more.
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) game.givens(c, r) = 110 + (game.board(c, r) = std::uint8_t(10 * c + r));
        step.run();
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) {
                int v = game.board(c, r);
                ASSERT_EQ(v, step.from != nullptr ? step.from(c, r) : v) << c << r;
                ASSERT_EQ(game.givens(c, r), 110 + v) << c << r;
                // A step of the symmetric iteration takes opposite cells from opposite cells.
                if (step.inSymmetricIteration) {
                    ASSERT_EQ(game.board(10 - c, 10 - r), 10 * (10 - v / 10) + 10 - v % 10) << c << r;
                }
            }
    }
}

TEST_F(ShuffleTest, DamagedBytesAndEmptyBoardsStayAsTheyAre) {
    game.board = solution;
    game.board(3, 3) = 200;  // no digit can have it, so it has no image under the relabelling
    relabelDigits();
    EXPECT_EQ(game.board(3, 3), 200);
    game.board.clear();
    shuffleBoard();
    const Grid none;
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(none, none));
}

}  // namespace
}  // namespace nonari
