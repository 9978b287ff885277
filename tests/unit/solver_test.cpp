// The solver: singles, the one-guess stage with its restores, and the restart of the solve command.
#include "logic/solver.h"

#include "screen/side_panels.h"
#include "tests/support/test_support.h"

#include <utility>

namespace nonari {
namespace {

void loadPuzzle(const Grid& puzzle) { game.board = game.givens = puzzle; }

void expectBoard(const Grid& board, const Grid& givens, const char* status) {
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(board, givens));
    EXPECT_EQ(game.statusText, status);
}

// Two swappable rectangles, cells x y / y x in two rows of one band and two columns of different stacks; with
// either of them empty the board has exactly two completions and no single in them.
const Grid twoRectangles =
    test::gridFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");

using SolverTest = test::HeadlessGame;

TEST_F(SolverTest, SinglesAloneFinishAndAWrongEntryRestartsFromTheGivens) {
    // Both diagonals and the middle row and column empty: singles reach every cell.
    Grid puzzle = twoRectangles;
    for (int k = 1; k <= 9; ++k) puzzle(k, k) = puzzle(k, 10 - k) = puzzle(k, 5) = puzzle(5, k) = 0;
    ASSERT_EQ(test::countSolutions(puzzle), 1);
    loadPuzzle(puzzle);
    game.boardCopy.cell.fill(0xEE);  // the guessing stage would overwrite this snapshot
    solveCommand();
    expectBoard(twoRectangles, puzzle, statusSolved);
    EXPECT_EQ(game.boardCopy.cell[11], 0xEE);

    // A player's digit repeating the given beside it in its row, with a note.
    loadPuzzle(puzzle);
    game.board(1, 1) = puzzle(2, 1);
    game.candidates(1, 1, 3) = true;
    solveCommand();
    expectBoard(twoRectangles, puzzle, statusSolved);
    EXPECT_FALSE(game.candidates(1, 1, 3));
}

TEST_F(SolverTest, OneGuessLowerDigitFirstAndBoardsItCannotFinish) {
    // Rectangle r2-3 x c2,5 empty: its first cell holds 4 in the grid and may hold 2, which is tried first and
    // solves the board with the rectangle swapped.
    Grid puzzle = twoRectangles;
    puzzle(2, 2) = puzzle(5, 2) = puzzle(2, 3) = puzzle(5, 3) = 0;
    loadPuzzle(puzzle);
    solveCommand();
    Grid swapped = twoRectangles;
    std::swap(swapped(2, 2), swapped(5, 2));
    std::swap(swapped(2, 3), swapped(5, 3));
    expectBoard(swapped, puzzle, statusSolved);

    // Rectangle r5-6 x c1,8 empty too needs two guesses: every guess is undone, logic's own digits stay.
    puzzle(1, 5) = puzzle(8, 5) = puzzle(1, 6) = puzzle(8, 6) = 0;
    const Grid afterLogic = puzzle;
    for (int k : {1, 5, 9}) puzzle(k, k) = 0;  // cells that logic does fill
    loadPuzzle(puzzle);
    solveCommand();
    expectBoard(afterLogic, puzzle, statusNoErrors);
    EXPECT_FALSE(game.guessing);

    // A full board with one wrong entry: no empty cell is dead, so nothing restarts and nothing changes.
    loadPuzzle(Grid{});
    game.board = twoRectangles;
    game.board(2, 2) = static_cast<std::uint8_t>(twoRectangles(2, 2) % 9 + 1);
    const Grid wrong = game.board;
    solveCommand();
    expectBoard(wrong, Grid{}, statusWrong);

    // Givens with the same digit twice in row 1: the entries are cleared and nothing is placed.
    Grid clashing;
    for (int c = 1; c <= 9; ++c) clashing(c, c) = twoRectangles(c, c);
    clashing(9, 1) = clashing(1, 1);
    loadPuzzle(clashing);
    game.board(5, 2) = twoRectangles(5, 2);
    solveCommand();
    expectBoard(clashing, clashing, statusWrong);

    // An empty board offers nothing to go on.
    resetGameState();
    solveCommand();
    expectBoard(Grid{}, Grid{}, statusNoErrors);
}

}  // namespace
}  // namespace nonari
