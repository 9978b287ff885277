// The solver: singles, the one-guess stage with its restores, the restart of the solve command, and its reports.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "logic/rules.h"
#include "logic/solver.h"

#include "tests/support/test_support.h"

#include <string>
#include <utility>

namespace nonari {
namespace {

// Two swappable rectangles, cells x y / y x in two rows of one band and two columns of different stacks; with
// either of them empty the board has exactly two completions and no single in them.
const Grid twoRectangles =
    test::gridFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");

// Writes down what the solver reports, as a screen would show it: "x,y=d" per placement, "|" per run of passes,
// "~" per undone row of guesses.
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
    Grid puzzle = twoRectangles;
    for (int k = 1; k <= 9; ++k) puzzle(k, k) = puzzle(k, 10 - k) = puzzle(k, 5) = puzzle(5, k) = 0;
    ASSERT_EQ(test::countSolutions(puzzle), 1);
    Game game(puzzle);
    EXPECT_TRUE(game.solve());
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(twoRectangles, puzzle));
    // Every empty cell reported once with its digit, then one run of passes; no guess was needed.
    int placements = 0;
    for (std::size_t at = game.journal.log.find('='); at != std::string::npos; at = game.journal.log.find('=', at + 1))
        ++placements;
    EXPECT_EQ(placements, 33);
    EXPECT_EQ(game.journal.log.substr(game.journal.log.size() - 2), "| ");
    EXPECT_EQ(game.journal.log.find("| "), game.journal.log.size() - 2);
    EXPECT_NE(game.journal.log.find("1,1=" + std::to_string(twoRectangles(1, 1))), std::string::npos);

    // A player's digit repeating the given beside it in its row, with a note: nothing fits anywhere, so the
    // board restarts from its givens and is solved.
    Game wrong(puzzle);
    wrong.board(1, 1) = puzzle(2, 1);
    wrong.notes(1, 1, 3) = true;
    EXPECT_TRUE(wrong.solve());
    EXPECT_EQ(std::tie(wrong.board, wrong.givens), std::tie(twoRectangles, puzzle));
    EXPECT_FALSE(wrong.notes(1, 1, 3));
    EXPECT_EQ(wrong.journal.log.substr(0, 2), "| ") << "the first run places nothing";
}

TEST(Solver, OneGuessLowerDigitFirstAndBoardsItCannotFinish) {
    // Rectangle r2-3 x c2,5 empty: its first cell holds 4 in the grid and may hold 2, which is tried first and
    // solves the board with the rectangle swapped.
    Grid puzzle = twoRectangles;
    puzzle(2, 2) = puzzle(5, 2) = puzzle(2, 3) = puzzle(5, 3) = 0;
    Game oneGuess(puzzle);
    EXPECT_TRUE(oneGuess.solve());
    Grid swapped = twoRectangles;
    std::swap(swapped(2, 2), swapped(5, 2));
    std::swap(swapped(2, 3), swapped(5, 3));
    EXPECT_EQ(oneGuess.board, swapped);
    // Passes, row 1 (full) tried in vain, then the guess in row 2, lower digit first.
    EXPECT_EQ(oneGuess.journal.log.substr(0, 10), "| ~ 2,2=2 ");

    // Rectangle r5-6 x c1,8 empty too needs two guesses: every guess is undone, logic's own digits stay, and
    // each row that guessed in vain is reported as undone.
    puzzle(1, 5) = puzzle(8, 5) = puzzle(1, 6) = puzzle(8, 6) = 0;
    const Grid afterLogic = puzzle;
    for (int k : {1, 5, 9}) puzzle(k, k) = 0;  // cells that logic does fill
    Game twoGuesses(puzzle);
    EXPECT_FALSE(twoGuesses.solve());
    EXPECT_EQ(twoGuesses.board, afterLogic);
    EXPECT_EQ(boardVerdict(twoGuesses.board), BoardVerdict::NoErrors);
    EXPECT_NE(twoGuesses.journal.log.find("2,2=0 "), std::string::npos) << "a failed guess's cell is emptied again";
    int undone = 0;
    for (char c : twoGuesses.journal.log) undone += c == '~';
    EXPECT_EQ(undone, 9);

    // A full board with one wrong entry: no empty cell is dead, so nothing restarts and nothing changes.
    Game full(Grid{});
    full.board = twoRectangles;
    full.board(2, 2) = static_cast<std::uint8_t>(twoRectangles(2, 2) % 9 + 1);
    const Grid wrong = full.board;
    EXPECT_FALSE(full.solve());
    EXPECT_EQ(full.board, wrong);

    // Givens with the same digit twice in row 1: the entries are cleared and nothing is placed.
    Grid clashing;
    for (int c = 1; c <= 9; ++c) clashing(c, c) = twoRectangles(c, c);
    clashing(9, 1) = clashing(1, 1);
    Game clash(clashing);
    clash.board(5, 2) = twoRectangles(5, 2);
    EXPECT_FALSE(clash.solve());
    EXPECT_EQ(clash.board, clashing);

    // An empty board offers nothing to go on.
    Game empty(Grid{});
    EXPECT_FALSE(empty.solve());
    EXPECT_EQ(empty.board, Grid{});
}

}  // namespace
}  // namespace nonari
