// Rule checks: whole-board consistency, trial placements, dead cells and candidates.
#include "logic/rules.h"

#include "tests/support/test_support.h"

#include <algorithm>

namespace nonari {
namespace {

long countMarks() { return std::count(game.candidates.mark.begin(), game.candidates.mark.end(), true); }

using RulesTest = test::HeadlessGame;

TEST_F(RulesTest, OneDuplicateAnywhereBlocksEveryDigitAndNoByteReachesPastATable) {
    // Empty: every digit fits every cell; index 0 is no cell and no digit, nor is anything outside the board.
    EXPECT_TRUE(isConsistent() && hasNoDeadCell() && trialPlacement(9, 9, 9));
    EXPECT_FALSE(trialPlacement(0, 5, 1) || trialPlacement(5, 10, 1) || trialPlacement(5, 5, 10));
    computeCandidates();
    EXPECT_EQ(countMarks(), 9 * 81);
    EXPECT_FALSE(game.candidates(0, 1, 1) || game.candidates(1, 1, 0));

    struct Case { const char* unit; int x1, y1, x2, y2; bool boxOnly; };  // box only: no shared column or row
    for (const Case& c : {Case{"column", 4, 1, 4, 8, false}, Case{"row", 2, 6, 9, 6, false},
                          Case{"box", 7, 7, 9, 8, true}}) {
        SCOPED_TRACE(c.unit);
        game.board.clear();
        game.board(c.x1, c.y1) = game.board(c.x2, c.y2) = 5;
        EXPECT_FALSE(isConsistent() || hasNoDeadCell() || trialPlacement(1, 2, 3));
        EXPECT_EQ(isBoxConsistent(7, 7), !c.boxOnly);
        game.candidates.fill(true);
        computeCandidates();
        EXPECT_EQ(countMarks(), 0);
        // A trial that would repeat a digit is refused and leaves the board as it was.
        game.board(c.x2, c.y2) = 0;
        const Grid before = game.board;
        EXPECT_FALSE(trialPlacement(c.x2, c.y2, 5));
        EXPECT_TRUE(trialPlacement(c.x2, c.y2, 6));
        EXPECT_EQ(game.board, before);
    }
    // A byte no digit can have (a damaged file) fails its own box only, and is never read as an index.
    game.board.clear();
    game.board(3, 3) = 12;
    game.board(4, 4) = 255;
    EXPECT_FALSE(isConsistent() || isBoxConsistent(1, 1) || isBoxConsistent(4, 4));
    EXPECT_TRUE(isBoxConsistent(7, 7));
    game.candidates.fill(true);
    computeCandidates();
    EXPECT_EQ(countMarks(), 0);
}

}  // namespace
}  // namespace nonari
