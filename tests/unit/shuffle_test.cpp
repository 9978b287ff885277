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
    struct Mode { const char* name; bool symmetryOn; std::int16_t difficulty; };
    for (const Mode& mode : {Mode{"symmetric", true, 3}, Mode{"free", false, 0}, Mode{"Teuflisch", true, 4}}) {
        SCOPED_TRACE(mode.name);
        game.symmetryOn = mode.symmetryOn;
        game.difficulty = mode.difficulty;
        // A full solution with a half-turn symmetric, irregular set of givens; the other cells are entries.
        game.board = solution;
        game.givens.clear();
        const int picks[][2] = {{1, 1}, {2, 1}, {5, 1}, {3, 2}, {8, 3}, {4, 4}, {6, 4}, {7, 2}, {5, 5}, {1, 6}};
        for (const auto& p : picks) {
            game.givens(p[0], p[1]) = solution(p[0], p[1]);
            game.givens(10 - p[0], 10 - p[1]) = solution(10 - p[0], 10 - p[1]);
        }
        const auto givenCount = std::ranges::count_if(game.givens.cell, [](int v) { return v != 0; });
        // Index 0 of the grids and the notes are no part of the shuffle.
        for (std::size_t i = 0; i < 100; ++i)
            if (isIndexZero(i)) game.board.cell[i] = game.givens.cell[i] = static_cast<std::uint8_t>(100 + i);
        CandidateGrid notes;
        notes(1, 1, 1) = notes(2, 9, 7) = notes(0, 3, 3) = true;
        game.candidates = notes;
        std::set<std::string> seen;
        int asymmetric = 0;
        for (int round = 0; round < 25; ++round) {
            shuffleBoard();
            ASSERT_EQ(test::countSolutions(game.board), 1) << test::gridToText(game.board);
            int givens = 0;
            bool symmetric = true;
            for (int c = 1; c <= 9; ++c)
                for (int r = 1; r <= 9; ++r) {
                    ASSERT_NE(game.board(c, r), 0);
                    ASSERT_TRUE(game.givens(c, r) == 0 || game.givens(c, r) == game.board(c, r));
                    givens += game.givens(c, r) != 0 ? 1 : 0;
                    symmetric = symmetric && (game.givens(c, r) != 0) == (game.givens(10 - c, 10 - r) != 0);
                }
            ASSERT_EQ(givens, givenCount);
            asymmetric += symmetric ? 0 : 1;
            seen.insert(test::gridToText(game.board));
        }
        if (mode.symmetryOn && mode.difficulty != 4) {
            EXPECT_EQ(asymmetric, 0);
        } else {
            EXPECT_GT(asymmetric, 20);
        }
        EXPECT_EQ(seen.size(), 25u);  // every shuffle shows another board
        for (std::size_t i = 0; i < 100; ++i)
            ASSERT_TRUE(!isIndexZero(i) || (game.board.cell[i] == 100 + i && game.givens.cell[i] == 100 + i)) << i;
        EXPECT_EQ(game.candidates, notes);
    }
}

// A step and the cell each cell takes its content from, as 10 * column + row.
struct Step { const char* name; void (*run)(); int (*from)(int c, int r); bool inSymmetricIteration; };

int swap46(int v) { return v == 4 ? 6 : v == 6 ? 4 : v; }
// Line v after the groups of three lines a and b changed places.
int swapGroups(int v, int a, int b) {
    int group = (v - 1) / 3 + 1;
    return group == a ? v + 3 * (b - a) : group == b ? v + 3 * (a - b) : v;
}
int unchanged(int c, int r) { return 10 * c + r; }

const Step steps[] = {
    {"rows 1-2 with 9-8", [] { swapRows(1, 2); swapRows(9, 8); }, nullptr, true},
    {"rows 2-3 with 8-7", [] { swapRows(2, 3); swapRows(8, 7); }, nullptr, true},
    {"columns 1-2 with 9-8", [] { swapColumns(1, 2); swapColumns(9, 8); }, nullptr, true},
    {"columns 2-3 with 8-7", [] { swapColumns(2, 3); swapColumns(8, 7); }, nullptr, true},
    {"stacks 1-3", [] { swapStacks(1, 3); }, [](int c, int r) { return 10 * swapGroups(c, 1, 3) + r; }, true},
    {"bands 1-3", [] { swapBands(1, 3); }, [](int c, int r) { return 10 * c + swapGroups(r, 1, 3); }, true},
    {"bands 2-3", [] { swapBands(2, 3); }, [](int c, int r) { return 10 * c + swapGroups(r, 2, 3); }, false},
    {"middle lines", swapMiddleLines, [](int c, int r) { return 10 * swap46(c) + swap46(r); }, true},
    {"flip rows", flipRows, [](int c, int r) { return 10 * c + 10 - r; }, true},
    {"flip columns", flipColumns, [](int c, int r) { return 10 * (10 - c) + r; }, true},
    {"rotate counter-clockwise", rotateBoard, [](int c, int r) { return 10 * (10 - r) + c; }, true},
    {"four quarter turns", [] { for (int i = 0; i < 4; ++i) rotateBoard(); }, unchanged, true},
    {"each flip twice", [] { flipRows(); flipRows(); flipColumns(); flipColumns(); }, unchanged, true},
    {"stacks and bands with themselves", [] { for (int a = 1; a <= 3; ++a) swapStacks(a, a), swapBands(a, a); },
     unchanged, true},
};

TEST_F(ShuffleTest, StepsMoveCellsWhereTheyBelongAndKeepTheHalfTurn) {
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        // Every cell holds its own number, 10 * column + row, and its given 110 more.
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) {
                game.board(c, r) = static_cast<std::uint8_t>(10 * c + r);
                game.givens(c, r) = static_cast<std::uint8_t>(110 + 10 * c + r);
            }
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
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
}

}  // namespace
}  // namespace nonari
