// Rule checks: whole-board consistency, trial placements, dead cells, candidates, verdicts and the restart.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/rules.h"

#include "tests/support/test_support.h"

#include <algorithm>

namespace nonari {
namespace {

long countMarks(const CandidateGrid& candidates) { return std::ranges::count(candidates.mark, true); }

TEST(Rules, OneDuplicateAnywhereBlocksEveryDigitAndNoByteReachesPastATable) {
    // Empty: every digit fits every cell; index 0 is no cell and no digit, nor is anything outside the board.
    Grid board;
    CandidateGrid candidates;
    EXPECT_TRUE(isConsistent(board) && hasNoDeadCell(board) && trialPlacement(board, 9, 9, 9));
    EXPECT_FALSE(trialPlacement(board, 0, 5, 1) || trialPlacement(board, 5, 10, 1) || trialPlacement(board, 5, 5, 10));
    computeCandidates(board, candidates);
    EXPECT_EQ(countMarks(candidates), 9 * 81);
    EXPECT_FALSE(candidates(0, 1, 1) || candidates(1, 1, 0));

    struct Case { const char* unit; int x1, y1, x2, y2; };  // the box case shares no column or row
    for (const Case& c : {Case{"column", 4, 1, 4, 8}, Case{"row", 2, 6, 9, 6}, Case{"box", 7, 7, 9, 8}}) {
        SCOPED_TRACE(c.unit);
        board.clear();
        board(c.x1, c.y1) = board(c.x2, c.y2) = 5;
        Grid repeated;  // the cells of the repeated digit are marked, a lone digit elsewhere is not
        repeated(c.x1, c.y1) = repeated(c.x2, c.y2) = 1;
        board(1, 9) = 8;
        EXPECT_EQ(clashingCells(board), repeated);
        board(1, 9) = 0;
        EXPECT_FALSE(isConsistent(board) || hasNoDeadCell(board) || trialPlacement(board, 1, 2, 3));
        EXPECT_EQ(boardVerdict(board), BoardVerdict::WrongDigit);
        candidates.fill(true);
        computeCandidates(board, candidates);
        EXPECT_EQ(countMarks(candidates), 0);
        // A trial that would repeat a digit is refused; the board is the caller's and stays as it was.
        board(c.x2, c.y2) = 0;
        const Grid before = board;
        EXPECT_FALSE(trialPlacement(board, c.x2, c.y2, 5));
        EXPECT_TRUE(trialPlacement(board, c.x2, c.y2, 6));
        EXPECT_EQ(board, before);
        // On a filled cell the trial answers for the board with the digit in its place.
        board(c.x2, c.y2) = 6;
        EXPECT_TRUE(trialPlacement(board, c.x2, c.y2, 7) && !trialPlacement(board, c.x2, c.y2, 5));
        EXPECT_EQ(board(c.x2, c.y2), 6);
    }
    // A byte no digit can have (a damaged file) is a conflict in itself, and is never read as an index.
    board.clear();
    board(3, 3) = 12;
    board(4, 4) = 255;
    EXPECT_FALSE(isConsistent(board));
    EXPECT_EQ(clashingCells(board), Grid{}) << "no digit repeats";
    candidates.fill(true);
    computeCandidates(board, candidates);
    EXPECT_EQ(countMarks(candidates), 0);
}

TEST(Rules, OnlyAFullBoardWithoutARepeatIsSolvedAndARestartKeepsTheGivens) {
    const Grid solution =
        test::gridFromText("123456789456789123789123456234567891567891234891234567345678912678912345912345678");
    Grid board = solution;
    EXPECT_TRUE(isBoardFull(board));
    EXPECT_EQ(boardVerdict(board), BoardVerdict::Solved);
    // Full but two cells of a row exchanged: nine of every digit, two columns break.
    std::swap(board(1, 1), board(2, 1));
    EXPECT_TRUE(isBoardFull(board));
    EXPECT_EQ(boardVerdict(board), BoardVerdict::WrongDigit);
    // One cell short, or a byte no digit has in its place.
    board = solution;
    board(5, 5) = 0;
    EXPECT_EQ(boardVerdict(board), BoardVerdict::NoErrors);
    board(5, 5) = 200;
    EXPECT_FALSE(isBoardFull(board));
    EXPECT_EQ(boardVerdict(board), BoardVerdict::WrongDigit);

    // A restart keeps every given (even one the board disagrees with), empties the rest, forgets the notes.
    Grid givens;
    givens(1, 1) = 1;
    givens(9, 9) = 8;
    board = solution;
    board(0, 0) = 7;  // index 0 is no cell
    CandidateGrid notes;
    notes(2, 2, 3) = true;
    restartBoard(board, givens, notes);
    Grid expected;
    expected(1, 1) = 1;
    expected(9, 9) = solution(9, 9);
    expected(0, 0) = 7;
    EXPECT_EQ(board, expected);
    EXPECT_EQ(countMarks(notes), 0);
}

}  // namespace
}  // namespace nonari
