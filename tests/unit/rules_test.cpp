// Rule checks, verdicts and the restart; the solve command with its guesses and reports; the board shuffle.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/puzzle_grid.h"
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "logic/solver.h"
#include "platform/system.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <string>
#include <utility>

namespace nonari {
namespace {

long countMarks(const CandidateGrid& candidates) { return std::ranges::count(candidates.mark, true); }

// Two swappable rectangles, cells x y / y x in two rows of one band and two columns of different stacks; with
// either of them empty the board has exactly two completions and no single in them.
const Grid solution =
    test::gridFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");

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
        EXPECT_TRUE(!trialPlacement(board, c.x2, c.y2, 5) && trialPlacement(board, c.x2, c.y2, 6));
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
    Grid board = solution;
    EXPECT_TRUE(isBoardFull(board) && boardVerdict(board) == BoardVerdict::Solved);
    std::swap(board(1, 1), board(2, 1));  // full, nine of every digit, but two columns break
    EXPECT_TRUE(isBoardFull(board) && boardVerdict(board) == BoardVerdict::WrongDigit);
    board = solution;  // one cell short, then a byte no digit has in its place
    board(5, 5) = 0;
    EXPECT_EQ(boardVerdict(board), BoardVerdict::NoErrors);
    board(5, 5) = 200;
    EXPECT_TRUE(!isBoardFull(board) && boardVerdict(board) == BoardVerdict::WrongDigit);

    // A restart keeps the board's digits where givens stand (even one its given disagrees with), empties the rest
    // and forgets the notes.
    Grid givens, expected;
    givens(1, 1) = 1;
    givens(9, 9) = 8;
    expected(1, 1) = solution(1, 1), expected(9, 9) = solution(9, 9);
    board = solution;
    board(0, 0) = expected(0, 0) = 7;  // index 0 is no cell
    CandidateGrid notes;
    notes(2, 2, 3) = true;
    restartBoard(board, givens, notes);
    EXPECT_TRUE(board == expected && countMarks(notes) == 0);
}

// Writes down what the solver reports: "x,y=d" per placement, "|" per run of passes, "~" per undone row of guesses.
struct Journal : SolverObserver {
    std::string log;
    void placed(int x, int y, int d) override {
        log += std::to_string(x) + "," + std::to_string(y) + "=" + std::to_string(d) + " ";
    }
    void passesFinished() override { log += "| "; }
    void guessesUndone() override { log += "~ "; }
};

struct Game {
    Grid board, givens;
    CandidateGrid notes;
    Journal journal;
    explicit Game(const Grid& puzzle) : board(puzzle), givens(puzzle) {}
    bool solve() { return solveCommand(board, givens, notes, journal); }
};

TEST(Solver, SinglesAloneFinishAndAWrongEntryRestartsFromTheGivens) {
    // Both diagonals and the middle row and column empty: singles reach every cell.
    Grid puzzle = solution;
    for (int k = 1; k <= 9; ++k) puzzle(k, k) = puzzle(k, 10 - k) = puzzle(k, 5) = puzzle(5, k) = 0;
    ASSERT_EQ(countSolutions(puzzleOf(puzzle)), 1);
    Game game(puzzle);
    EXPECT_TRUE(game.solve());
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(solution, puzzle));
    // Every empty cell reported once with its digit, then one run of passes; no guess was needed.
    EXPECT_EQ(std::ranges::count(game.journal.log, '='), 33);
    EXPECT_EQ(game.journal.log.find("| "), game.journal.log.size() - 2);
    EXPECT_NE(game.journal.log.find("1,1=" + std::to_string(solution(1, 1))), std::string::npos);

    // A player's digit repeating the given beside it in its row, with a note: nothing fits anywhere, so the
    // board restarts from its givens and is solved.
    Game wrong(puzzle);
    wrong.board(1, 1) = puzzle(2, 1);
    wrong.notes(1, 1, 3) = true;
    EXPECT_TRUE(wrong.solve());
    EXPECT_EQ(std::tie(wrong.board, wrong.givens), std::tie(solution, puzzle));
    EXPECT_FALSE(wrong.notes(1, 1, 3));
    EXPECT_EQ(wrong.journal.log.substr(0, 2), "| ") << "the first run places nothing";
}

TEST(Solver, OneGuessLowerDigitFirstAndBoardsItCannotFinish) {
    // Rectangle r2-3 x c2,5 empty: its first cell holds 4 in the grid and may hold 2, which is tried first and
    // solves the board with the rectangle swapped.
    Grid puzzle = solution;
    puzzle(2, 2) = puzzle(5, 2) = puzzle(2, 3) = puzzle(5, 3) = 0;
    Game oneGuess(puzzle);
    EXPECT_TRUE(oneGuess.solve());
    Grid swapped = solution;
    std::swap(swapped(2, 2), swapped(5, 2));
    std::swap(swapped(2, 3), swapped(5, 3));
    EXPECT_EQ(oneGuess.board, swapped);
    EXPECT_EQ(oneGuess.journal.log.substr(0, 10), "| ~ 2,2=2 ") << "passes, row 1 (full) in vain, the guess in row 2";

    // Rectangle r5-6 x c1,8 empty too needs two guesses: every guess is undone, logic's own digits stay, and
    // each row that guessed in vain is reported as undone.
    puzzle(1, 5) = puzzle(8, 5) = puzzle(1, 6) = puzzle(8, 6) = 0;
    const Grid afterLogic = puzzle;
    for (int k : {1, 5, 9}) puzzle(k, k) = 0;  // cells that logic does fill
    Game twoGuesses(puzzle);
    EXPECT_FALSE(twoGuesses.solve());
    EXPECT_TRUE(twoGuesses.board == afterLogic && boardVerdict(twoGuesses.board) == BoardVerdict::NoErrors);
    EXPECT_NE(twoGuesses.journal.log.find("2,2=0 "), std::string::npos) << "a failed guess's cell is emptied again";
    EXPECT_EQ(std::ranges::count(twoGuesses.journal.log, '~'), 9);

    // A full board with one wrong entry: no empty cell is dead, so nothing restarts and nothing changes. Givens
    // with the same digit twice in row 1: the entries are cleared and nothing is placed. An empty board offers
    // nothing to go on.
    Game full(Grid{}), empty(Grid{});
    full.board = solution;
    full.board(2, 2) = static_cast<std::uint8_t>(solution(2, 2) % 9 + 1);
    const Grid wrong = full.board;
    Grid clashing;
    for (int c = 1; c <= 9; ++c) clashing(c, c) = solution(c, c);
    clashing(9, 1) = clashing(1, 1);
    Game clash(clashing);
    clash.board(5, 2) = solution(5, 2);
    EXPECT_FALSE(full.solve() || clash.solve() || empty.solve());
    EXPECT_EQ(std::tie(full.board, clash.board, empty.board), std::tie(wrong, clashing, empty.givens));
}

// Which cell each step moves where is the shuffle's own business; what a player sees is a valid board whose
// givens travel with their digits, and symmetric givens that stay so.
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
        const long givenCount = 100 - std::ranges::count(givens.cell, 0);
        int asymmetric = 0;  // shuffles whose givens lost the half-turn symmetry
        for (int round = 0; round < 25; ++round) {
            shuffleBoard(board, givens, keepSymmetry);
            ASSERT_EQ(boardVerdict(board), BoardVerdict::Solved);
            ASSERT_EQ(100 - std::ranges::count(givens.cell, 0), givenCount);
            bool symmetric = true;
            for (int c = 1; c <= 9; ++c)
                for (int r = 1; r <= 9; ++r) {
                    ASSERT_TRUE(givens(c, r) == 0 || givens(c, r) == board(c, r)) << c << r;
                    symmetric &= (givens(c, r) != 0) == (givens(10 - c, 10 - r) != 0);
                }
            asymmetric += !symmetric;
        }
        EXPECT_TRUE(keepSymmetry ? asymmetric == 0 : asymmetric > 20) << asymmetric;
    }
    // A byte no digit can have has no image under the relabelling and stays.
    Grid board = solution, givens;
    board(3, 3) = 200;
    relabelDigits(board, givens);
    EXPECT_EQ(board(3, 3), 200);
}

}  // namespace
}  // namespace nonari
