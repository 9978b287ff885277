// The board shuffle: solution grids stay valid, givens travel with their digits, symmetry survives.
#include "logic/shuffle.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <functional>
#include <set>

namespace nonari {
namespace {

using test::HeadlessGame;

Grid patternGrid() {
    Grid grid;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            grid(c, r) = static_cast<std::uint8_t>(((r - 1) * 3 + (r - 1) / 3 + (c - 1)) % 9 + 1);
    return grid;
}

bool isSolutionGrid(const Grid& g) {
    for (int k = 1; k <= 9; ++k) {
        std::set<int> column, row, box;
        int bx = (k - 1) % 3 * 3 + 1, by = (k - 1) / 3 * 3 + 1;
        for (int i = 1; i <= 9; ++i) {
            column.insert(g(k, i));
            row.insert(g(i, k));
            box.insert(g(bx + (i - 1) % 3, by + (i - 1) / 3));
        }
        for (const auto* unit : {&column, &row, &box})
            if (unit->size() != 9 || unit->count(0) != 0 || *unit->rbegin() > 9) return false;
    }
    return true;
}

bool halfTurnSymmetric(const Grid& g) {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if ((g(c, r) != 0) != (g(10 - c, 10 - r) != 0)) return false;
    return true;
}

int filledCells(const Grid& g) {
    int n = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) n += g(c, r) != 0 ? 1 : 0;
    return n;
}

bool boardAgreesWithGivens() {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if (game.givens(c, r) != 0 && game.givens(c, r) != game.board(c, r)) return false;
    return true;
}

// A full solution on board with a half-turn symmetric, irregular set of given cells; the other
// cells are the player's entries.
void loadSymmetricGame() {
    game.board = patternGrid();
    game.givens.clear();
    const int picks[][2] = {{1, 1}, {2, 1}, {5, 1}, {3, 2}, {8, 3}, {4, 4}, {6, 4}, {7, 2}, {5, 5}, {1, 6}};
    for (const auto& p : picks) {
        game.givens(p[0], p[1]) = game.board(p[0], p[1]);
        game.givens(10 - p[0], 10 - p[1]) = game.board(10 - p[0], 10 - p[1]);
    }
}

// Values no transformation may touch: index 0 of the grids and the notes.
void markUntouchables() {
    for (int i = 0; i <= 9; ++i) {
        game.board(0, i) = static_cast<std::uint8_t>(20 + i);
        if (i > 0) game.board(i, 0) = static_cast<std::uint8_t>(40 + i);
        game.givens(0, i) = static_cast<std::uint8_t>(60 + i);
    }
    game.candidates(1, 1, 1) = true;
    game.candidates(2, 9, 7) = true;
    game.candidates(0, 3, 3) = true;
}

void expectUntouchablesKept() {
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(game.board(0, i), 20 + i);
        if (i > 0) {
            EXPECT_EQ(game.board(i, 0), 40 + i);
        }
        EXPECT_EQ(game.givens(0, i), 60 + i);
    }
    CandidateGrid expected;
    expected(1, 1, 1) = expected(2, 9, 7) = expected(0, 3, 3) = true;
    EXPECT_EQ(game.candidates, expected);
}

using ShuffleTest = HeadlessGame;

TEST_F(ShuffleTest, SolutionGridsStayValidAndGivensTravelWithTheirDigits) {
    for (bool symmetric : {true, false}) {
        SCOPED_TRACE(symmetric ? "symmetric" : "free");
        game.symmetryOn = symmetric;
        loadSymmetricGame();
        markUntouchables();
        const int givenCount = filledCells(game.givens);
        std::set<std::string> seen;
        for (int round = 0; round < 25; ++round) {
            shuffleBoard();
            ASSERT_TRUE(isSolutionGrid(game.board)) << test::gridToText(game.board);
            ASSERT_TRUE(boardAgreesWithGivens());
            ASSERT_EQ(filledCells(game.givens), givenCount);
            if (symmetric) {
                ASSERT_TRUE(halfTurnSymmetric(game.givens)) << test::gridToText(game.givens);
            }
            seen.insert(test::gridToText(game.board));
        }
        // Every shuffle shows another board.
        EXPECT_EQ(seen.size(), 25u);
        expectUntouchablesKept();
    }
}

TEST_F(ShuffleTest, EverySymmetricStepKeepsTheHalfTurnSymmetry) {
    // Each step of a symmetric iteration on its own, so that symmetry is kept after every one.
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"rows 1-2 with 9-8", [] { swapRows(1, 2); swapRows(9, 8); }},
        {"rows 2-3 with 8-7", [] { swapRows(2, 3); swapRows(8, 7); }},
        {"columns 1-2 with 9-8", [] { swapColumns(1, 2); swapColumns(9, 8); }},
        {"columns 2-3 with 8-7", [] { swapColumns(2, 3); swapColumns(8, 7); }},
        {"stacks 1-3", [] { swapStacks(1, 3); }},
        {"bands 1-3", [] { swapBands(1, 3); }},
        {"middle lines", [] { swapMiddleLines(); }},
        {"flip rows", [] { flipRows(); }},
        {"flip columns", [] { flipColumns(); }},
        {"rotate", [] { rotateBoard(); }},
        {"relabel", [] { relabelDigits(); }},
    };
    loadSymmetricGame();
    for (int round = 0; round < 3; ++round)
        for (const auto& [name, step] : steps) {
            SCOPED_TRACE(name);
            step();
            ASSERT_TRUE(halfTurnSymmetric(game.givens));
            ASSERT_TRUE(isSolutionGrid(game.board));
            ASSERT_TRUE(boardAgreesWithGivens());
        }
}

TEST_F(ShuffleTest, TeuflischIsShuffledFreelyEvenWithSymmetryOn) {
    game.symmetryOn = true;
    int asymmetric[5] = {};
    for (std::int16_t difficulty : {3, 4}) {
        game.difficulty = difficulty;
        for (int round = 0; round < 10; ++round) {
            loadSymmetricGame();
            shuffleBoard();
            EXPECT_TRUE(isSolutionGrid(game.board));
            if (!halfTurnSymmetric(game.givens)) ++asymmetric[difficulty];
        }
    }
    EXPECT_EQ(asymmetric[3], 0);
    EXPECT_GT(asymmetric[4], 5);
}

TEST_F(ShuffleTest, InverseStepsRestoreTheBoard) {
    loadSymmetricGame();
    markUntouchables();
    game.board(4, 5) = 0;  // an empty cell among the entries
    const Grid board = game.board;
    const Grid givens = game.givens;
    auto expectRestored = [&](const char* what) {
        EXPECT_EQ(game.board, board) << what;
        EXPECT_EQ(game.givens, givens) << what;
    };
    for (int i = 0; i < 4; ++i) rotateBoard();
    expectRestored("four quarter turns");
    flipRows();
    EXPECT_NE(game.board, board);
    flipRows();
    expectRestored("flip rows twice");
    flipColumns();
    flipColumns();
    expectRestored("flip columns twice");
    for (int a = 1; a <= 3; ++a) {
        swapStacks(a, a);
        swapBands(a, a);
    }
    expectRestored("stack and band with itself");
    swapMiddleLines();
    swapMiddleLines();
    expectRestored("middle lines twice");
    expectUntouchablesKept();
}

TEST_F(ShuffleTest, StepsMoveCellsWhereTheyBelong) {
    // Cell (c, r) holds a distinct value 10*c + r, so every move can be traced.
    auto numbered = [] {
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) game.board(c, r) = static_cast<std::uint8_t>(10 * c + r);
    };
    numbered();
    rotateBoard();  // counter-clockwise: the old top row becomes the left column, bottom to top
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(game.board(1, 10 - c), 10 * c + 1);
    EXPECT_EQ(game.board(9, 9), 10 * 1 + 9);  // the old bottom-left cell is now bottom-right

    numbered();
    swapStacks(1, 3);
    for (int r = 1; r <= 9; ++r)
        for (int j = 1; j <= 3; ++j) {
            EXPECT_EQ(game.board(j, r), 10 * (6 + j) + r);
            EXPECT_EQ(game.board(6 + j, r), 10 * j + r);
            EXPECT_EQ(game.board(3 + j, r), 10 * (3 + j) + r);
        }

    numbered();
    swapBands(2, 3);
    for (int c = 1; c <= 9; ++c)
        for (int j = 1; j <= 3; ++j) {
            EXPECT_EQ(game.board(c, 3 + j), 10 * c + 6 + j);
            EXPECT_EQ(game.board(c, 6 + j), 10 * c + 3 + j);
        }
}

TEST_F(ShuffleTest, RelabellingIsAPermutationAndKeepsEmptyCellsEmpty) {
    loadSymmetricGame();
    game.board(5, 5) = 0;
    game.givens(5, 5) = 0;
    for (int round = 0; round < 50; ++round) {
        const Grid before = game.board;
        relabelDigits();
        std::set<int> images(game.digitMap.begin() + 1, game.digitMap.end());
        ASSERT_EQ(images, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        EXPECT_EQ(game.digitMap[0], 0);
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r) ASSERT_EQ(game.board(c, r), game.digitMap[before(c, r)]);
    }
    EXPECT_EQ(game.board(5, 5), 0);
    EXPECT_TRUE(boardAgreesWithGivens());

    // A byte no digit can have (a damaged file) stays as it is.
    game.board(3, 3) = 200;
    relabelDigits();
    EXPECT_EQ(game.board(3, 3), 200);

    game.board.clear();
    game.givens.clear();
    shuffleBoard();
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
}

}  // namespace
}  // namespace nonari
