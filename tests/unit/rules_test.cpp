// Rule checks: whole-board consistency, trial placements, dead cells and candidates.
#include "logic/rules.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <random>

namespace nonari {
namespace {

const Grid solution =
    test::gridFromText("123456789456789123789123456234567891567891234891234567345678912678912345912345678");

// The slow way: two cells of one unit with the same digit, or a byte that is no digit.
bool referenceConsistent(const Grid& g) {
    for (int a = 0; a < 81; ++a)
        for (int b = a, v = g(a % 9 + 1, a / 9 + 1); b < 81 && v != 0; ++b) {
            bool shared = a % 9 == b % 9 || a / 9 == b / 9 || (a % 9 / 3 == b % 9 / 3 && a / 27 == b / 27);
            if (v > 9 || (b != a && shared && g(b % 9 + 1, b / 9 + 1) == v)) return false;
        }
    return true;
}

long countMarks() { return std::count(game.candidates.mark.begin(), game.candidates.mark.end(), true); }

using RulesTest = test::HeadlessGame;

TEST_F(RulesTest, EmptyFullAndDuplicatedBoards) {
    // Empty: every digit fits every cell; index 0 is no cell and no digit, nor is anything outside the board.
    EXPECT_TRUE(isConsistent() && hasNoDeadCell());
    EXPECT_FALSE(trialPlacement(0, 5, 1) || trialPlacement(5, 10, 1) || trialPlacement(5, 5, 10));
    computeCandidates();
    for (int c = 0; c <= 9; ++c)
        for (int r = 0; r <= 9; ++r)
            for (int d = 0; d <= 9; ++d) ASSERT_EQ(game.candidates(c, r, d), c > 0 && r > 0 && d > 0) << c << r << d;
    // Full and right: nothing to note. Full and wrong: without an empty cell nothing is dead.
    game.board = solution;
    computeCandidates();
    EXPECT_EQ(countMarks(), 0);
    std::swap(game.board(1, 1), game.board(2, 1));
    EXPECT_TRUE(hasNoDeadCell());

    // One duplicate anywhere blocks every digit everywhere.
    struct Case { const char* unit; int x1, y1, x2, y2; bool boxOnly; };  // box only: no shared column or row
    for (const Case& c : {Case{"column", 4, 1, 4, 8, false}, Case{"row", 2, 6, 9, 6, false},
                          Case{"box", 7, 7, 9, 8, true}}) {
        SCOPED_TRACE(c.unit);
        game.board.clear();
        game.board(c.x1, c.y1) = game.board(c.x2, c.y2) = 5;
        EXPECT_FALSE(isConsistent() || hasNoDeadCell());
        EXPECT_EQ(isBoxConsistent(7, 7), !c.boxOnly);
        game.candidates.fill(true);
        computeCandidates();
        EXPECT_EQ(countMarks(), 0);
    }
    game.board(3, 3) = 12;  // a byte no digit can have (a damaged file) fails its own box only
    EXPECT_FALSE(isBoxConsistent(1, 1));
    EXPECT_TRUE(isBoxConsistent(4, 4));
}

TEST_F(RulesTest, TrialPlacementAgreesWithTheSlowCheckWhileTheBoardIsWrittenDirectly) {
    // Other parts of the game write the board directly between calls; every answer must equal the slow check.
    std::mt19937 draw(7);
    auto any = [&draw](int n) { return static_cast<int>(draw() % static_cast<unsigned>(n)); };
    int fits = 0, misses = 0;
    for (int round = 0; round < 300; ++round) {
        game.board.clear();
        for (int i = any(60); i > 0; --i) {
            // Mostly digits of a real solution, sometimes a stray one; index 0 is never judged.
            int c = any(9) + 1, r = any(9) + 1;
            game.board(c, r) = static_cast<std::uint8_t>(any(8) == 0 ? any(9) + 1 : solution(c, r));
            game.board.cell[static_cast<std::size_t>(any(2) ? any(10) : 10 * any(10))] = 4;
        }
        if (round % 50 == 0) game.board(any(9) + 1, any(9) + 1) = 10;
        const Grid before = game.board;
        EXPECT_EQ(isConsistent(), referenceConsistent(before));
        for (int probe = 0; probe < 20; ++probe) {
            int x = any(9) + 1, y = any(9) + 1, d = any(9) + 1;
            Grid expected = game.board;
            expected(x, y) = static_cast<std::uint8_t>(d);
            ASSERT_EQ(trialPlacement(x, y, d), referenceConsistent(expected)) << test::gridToText(before) << x << y << d;
            (referenceConsistent(expected) ? fits : misses) += 1;
            ASSERT_EQ(game.board, before);
        }
    }
    // Both answers must have been exercised for the comparison to mean anything.
    EXPECT_GT(fits, 100);
    EXPECT_GT(misses, 100);
}

}  // namespace
}  // namespace nonari
