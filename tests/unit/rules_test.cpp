// Rule checks: whole-board consistency, trial placements, dead cells, candidates and the two resets.
#include "logic/rules.h"

#include "tests/support/test_support.h"

#include <random>

namespace nonari {
namespace {

using test::HeadlessGame;

// A valid solution grid built from the usual shifted-rows pattern.
Grid patternGrid() {
    Grid grid;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            grid(c, r) = static_cast<std::uint8_t>(((r - 1) * 3 + (r - 1) / 3 + (c - 1)) % 9 + 1);
    return grid;
}

// Independent tally of all 27 units, the slow way.
bool referenceConsistent(const Grid& g) {
    auto unitOk = [&g](auto cellOf) {
        int seen[256] = {};
        for (int i = 0; i < 9; ++i) {
            auto [c, r] = cellOf(i);
            int v = g(c, r);
            if (v != 0 && ++seen[v] > 1) return false;
            if (v > 9) return false;
        }
        return true;
    };
    for (int k = 1; k <= 9; ++k) {
        if (!unitOk([k](int i) { return std::pair{k, i + 1}; })) return false;
        if (!unitOk([k](int i) { return std::pair{i + 1, k}; })) return false;
        int bx = (k - 1) % 3 * 3 + 1, by = (k - 1) / 3 * 3 + 1;
        if (!unitOk([bx, by](int i) { return std::pair{bx + i % 3, by + i / 3}; })) return false;
    }
    return true;
}

int countMarks() {
    int marks = 0;
    for (bool m : game.candidates.mark) marks += m ? 1 : 0;
    return marks;
}

bool anyDigitFitsAnywhere() {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (game.board(x, y) == 0)
                for (int d = 1; d <= 9; ++d)
                    if (trialPlacement(x, y, d)) return true;
    return false;
}

using RulesTest = HeadlessGame;

TEST_F(RulesTest, EmptyBoardIsConsistentAndEveryDigitFitsEverywhere) {
    EXPECT_TRUE(isConsistent());
    EXPECT_TRUE(hasNoDeadCell());
    for (int bx = 1; bx <= 7; bx += 3)
        for (int by = 1; by <= 7; by += 3) EXPECT_TRUE(isBoxConsistent(bx, by));
    computeCandidates();
    EXPECT_EQ(countMarks(), 81 * 9);
    // Index 0 is no cell and no digit.
    for (int c = 0; c <= 9; ++c)
        for (int r = 0; r <= 9; ++r)
            for (int d = 0; d <= 9; ++d)
                ASSERT_EQ(game.candidates(c, r, d), c > 0 && r > 0 && d > 0) << c << r << d;
    EXPECT_EQ(game.board, Grid{});
}

TEST_F(RulesTest, OneDuplicateAnywhereBlocksEveryDigitEverywhere) {
    struct Case {
        const char* unit;
        int x1, y1, x2, y2;
        bool boxOnly;
    };
    const Case cases[] = {
        {"column", 4, 1, 4, 8, false},
        {"row", 2, 6, 9, 6, false},
        {"box", 7, 7, 9, 8, true},  // different column and row: only the box check sees it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        game.board.clear();
        game.board(c.x1, c.y1) = 5;
        game.board(c.x2, c.y2) = 5;
        EXPECT_FALSE(isConsistent());
        EXPECT_EQ(isBoxConsistent(7, 7), !c.boxOnly);
        EXPECT_FALSE(anyDigitFitsAnywhere());
        EXPECT_FALSE(hasNoDeadCell());
        game.candidates.fill(true);
        computeCandidates();
        EXPECT_EQ(countMarks(), 0);
        Grid before = game.board;
        EXPECT_FALSE(trialPlacement(1, 9, 3));
        EXPECT_EQ(game.board, before);

        // Taking one of the pair away makes the board consistent again at once.
        game.board(c.x2, c.y2) = 0;
        EXPECT_TRUE(isConsistent());
        EXPECT_TRUE(trialPlacement(1, 9, 3));
        EXPECT_FALSE(trialPlacement(c.x2, c.y2, 5));
        EXPECT_EQ(game.board(c.x2, c.y2), 0);
    }
}

TEST_F(RulesTest, FullBoardsHaveNoDeadCellWhetherRightOrWrong) {
    game.board = patternGrid();
    EXPECT_TRUE(isConsistent());
    EXPECT_TRUE(hasNoDeadCell());
    game.candidates.fill(true);
    computeCandidates();
    EXPECT_EQ(countMarks(), 0);

    std::swap(game.board(1, 1), game.board(2, 1));  // same row: now two columns hold a digit twice
    EXPECT_FALSE(isConsistent());
    EXPECT_TRUE(hasNoDeadCell());

    // One empty cell in an otherwise full, correct board: its own digit is the only fit.
    game.board = patternGrid();
    std::uint8_t digit = game.board(5, 5);
    game.board(5, 5) = 0;
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(trialPlacement(5, 5, d), d == digit) << d;
    EXPECT_TRUE(hasNoDeadCell());
    EXPECT_EQ(game.board(5, 5), 0);
}

TEST_F(RulesTest, TrialPlacementMatchesWritingAndTestingTheWholeBoard) {
    // Random boards with and without conflicts, changed between calls by direct writes as the
    // other parts of the game do; every answer must equal the slow whole-board check.
    std::mt19937 draw(7);
    const Grid solution = patternGrid();
    int fits = 0, misses = 0;
    for (int round = 0; round < 300; ++round) {
        game.board.clear();
        int filled = static_cast<int>(draw() % 60);
        for (int i = 0; i < filled; ++i) {
            int c = static_cast<int>(draw() % 9) + 1, r = static_cast<int>(draw() % 9) + 1;
            // Mostly digits of a real solution, sometimes a stray one.
            game.board(c, r) = draw() % 8 == 0 ? static_cast<std::uint8_t>(draw() % 9 + 1) : solution(c, r);
        }
        EXPECT_EQ(isConsistent(), referenceConsistent(game.board));
        for (int probe = 0; probe < 20; ++probe) {
            int x = static_cast<int>(draw() % 9) + 1, y = static_cast<int>(draw() % 9) + 1;
            int d = static_cast<int>(draw() % 9) + 1;
            if (game.board(x, y) != 0) continue;
            Grid expected = game.board;
            expected(x, y) = static_cast<std::uint8_t>(d);
            bool want = referenceConsistent(expected);
            ASSERT_EQ(trialPlacement(x, y, d), want) << test::gridToText(game.board) << " " << x << y << d;
            (want ? fits : misses) += 1;
            EXPECT_EQ(game.board(x, y), 0);
        }
    }
    // Both answers must have been exercised for the comparison to mean anything.
    EXPECT_GT(fits, 100);
    EXPECT_GT(misses, 100);
}

TEST_F(RulesTest, FilledCellKeepsItsDigitWhenTried) {
    game.board = patternGrid();
    std::uint8_t digit = game.board(3, 4);
    EXPECT_TRUE(trialPlacement(3, 4, digit));
    EXPECT_FALSE(trialPlacement(3, 4, digit % 9 + 1));
    EXPECT_EQ(game.board, patternGrid());
}

TEST_F(RulesTest, BytesAboveNineCountAsConflictsAndStayInBounds) {
    game.board(3, 3) = 12;
    game.board(9, 9) = 255;
    EXPECT_FALSE(isConsistent());
    EXPECT_FALSE(isBoxConsistent(1, 1));
    EXPECT_FALSE(isBoxConsistent(7, 7));
    EXPECT_TRUE(isBoxConsistent(4, 4));
    EXPECT_FALSE(trialPlacement(1, 1, 1));
    EXPECT_FALSE(hasNoDeadCell());
    computeCandidates();
    EXPECT_EQ(countMarks(), 0);
    // Arguments outside the board fit nowhere and touch nothing.
    Grid before = game.board;
    EXPECT_FALSE(trialPlacement(0, 1, 1));
    EXPECT_FALSE(trialPlacement(1, 10, 1));
    EXPECT_FALSE(trialPlacement(1, 1, 10));
    EXPECT_EQ(game.board, before);
}

TEST_F(RulesTest, IndexZeroIsNeverChecked) {
    game.board(0, 0) = 4;
    game.board(0, 1) = 4;
    game.board(1, 0) = 4;
    game.board(1, 1) = 4;
    EXPECT_TRUE(isConsistent());
    EXPECT_FALSE(trialPlacement(2, 2, 4));
    EXPECT_TRUE(trialPlacement(2, 4, 4));
}

TEST_F(RulesTest, RestartKeepsGivensAndClearForgetsEverything) {
    const Grid solution = patternGrid();
    game.board = solution;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if ((c + r) % 3 == 0) game.givens(c, r) = solution(c, r);
    game.board(0, 0) = 7;
    game.givens(0, 5) = 2;
    game.candidates(4, 4, 4) = true;

    restartBoard();
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) EXPECT_EQ(game.board(c, r), (c + r) % 3 == 0 ? solution(c, r) : 0);
    EXPECT_EQ(countMarks(), 0);

    game.candidates(4, 4, 4) = true;
    clearBoard();
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
    EXPECT_EQ(countMarks(), 0);
    EXPECT_GT(pf.drawCalls, 0);  // the cleared board is shown
}

}  // namespace
}  // namespace nonari
