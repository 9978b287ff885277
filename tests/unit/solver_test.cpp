// The solver: singles, the one-guess stage with its restores, and the restart of the solve command.
#include "logic/solver.h"

#include "logic/rules.h"
#include "screen/side_panels.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

namespace nonari {
namespace {

using test::countSolutions;

void loadPuzzle(const Grid& puzzle) { game.board = game.givens = puzzle; }

// A random solution grid, then up to `wanted` of its cells emptied in a random order, each only when it is a naked
// single or a hidden single of its row or column without it: filling them back in reverse order is a singles-only
// solve.
std::pair<Grid, Grid> singlesPuzzle(std::mt19937& draw, int wanted) {
    Grid solution;
    countSolutions(Grid{}, 1, &solution, &draw);
    std::vector<int> cells(81);
    std::iota(cells.begin(), cells.end(), 0);
    std::shuffle(cells.begin(), cells.end(), draw);
    game.board = solution;
    for (int i : cells) {
        int c = i % 9 + 1, r = i / 9 + 1, v = std::exchange(game.board(c, r), 0), naked = 0, inRow = 0, inColumn = 0;
        for (int k = 1; k <= 9; ++k) {
            naked += trialPlacement(c, r, k);
            inRow += game.board(k, r) == 0 && trialPlacement(k, r, v);
            inColumn += game.board(c, k) == 0 && trialPlacement(c, k, v);
        }
        if (wanted > 0 && (naked == 1 || inRow == 1 || inColumn == 1)) --wanted;
        else game.board(c, r) = static_cast<std::uint8_t>(v);
    }
    return {solution, std::exchange(game.board, Grid{})};
}

// The passes of singles alone (a run inside the guessing stage never guesses); true when they solve the board.
bool logicAloneSolves(const Grid& board) {
    game.board = board;
    game.guessing = true;
    solveBoard();
    game.guessing = false;
    return game.statusText == statusSolved;
}

// Two swappable rectangles, cells x y / y x in two rows of one band and two columns of different stacks; with
// either of them empty the board has exactly two completions and no single in them.
const Grid twoRectangles =
    test::gridFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");

using SolverTest = test::HeadlessGame;

TEST_F(SolverTest, SinglesFinishWithoutGuessingAndDrawEachPlacement) {
    std::mt19937 draw(11);
    game.numbersMode = false;
    pf.recordTexts = true;
    for (int round = 0; round < 4; ++round) {
        const auto [solution, puzzle] = singlesPuzzle(draw, 50);
        loadPuzzle(puzzle);
        game.boardCopy.cell.fill(0xEE);  // the guessing stage would overwrite this snapshot
        pf.drawnTexts.clear();
        solveCommand();
        EXPECT_EQ(std::tie(game.board, game.givens), std::tie(solution, puzzle)) << round;
        EXPECT_EQ(game.statusText, statusSolved);
        EXPECT_EQ(game.boardCopy.cell[11], 0xEE);
        // In letters mode every placement is drawn as one letter as it happens.
        std::string drawn, placed;
        for (const std::string& text : pf.drawnTexts)
            if (text.size() == 1 && text[0] >= 'A' && text[0] <= 'I') drawn += text;
        for (std::size_t i = 0; i < 100; ++i)
            if (puzzle.cell[i] != solution.cell[i]) placed += static_cast<char>('@' + solution.cell[i]);
        EXPECT_TRUE(std::ranges::is_permutation(drawn, placed)) << drawn << " for " << placed;
    }
}

TEST_F(SolverTest, AFailedLowerGuessIsUndoneBeforeTheHigherOneSolves) {
    // One solution, which singles alone do not reach; the guess goes to the first cell, rows from the top, with
    // two fitting digits, (4, 1), whose right digit is the higher one, and no later guess finishes the board from
    // what the lower one leaves behind.
    const Grid puzzle =
        test::gridFromText(".24....8.....4...78..3......8.9....1.1..3.94.....6.....35.2...6..6.....3......7.9");
    Grid solution;
    ASSERT_EQ(countSolutions(puzzle, 2, &solution), 1);
    loadPuzzle(puzzle);
    ASSERT_FALSE(logicAloneSolves(puzzle));
    solveCommand();
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(solution, puzzle));
    EXPECT_EQ(game.statusText, statusSolved);
}

TEST_F(SolverTest, OneGuessLowerDigitFirstRestartsAfterWrongEntriesAndBoardsWithNothingToDo) {
    // Rectangle r2-3 x c2,5 empty: its first cell holds 4 in the grid and may hold 2, which is tried first and
    // solves the board with the rectangle swapped.
    Grid puzzle = twoRectangles;
    puzzle(2, 2) = puzzle(5, 2) = puzzle(2, 3) = puzzle(5, 3) = 0;
    loadPuzzle(puzzle);
    solveCommand();
    Grid swapped = twoRectangles;
    std::swap(swapped(2, 2), swapped(5, 2));
    std::swap(swapped(2, 3), swapped(5, 3));
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(swapped, puzzle));
    EXPECT_EQ(game.statusText, statusSolved);

    // Rectangle r5-6 x c1,8 empty too needs two guesses: every guess is undone, logic's own digits stay.
    puzzle(1, 5) = puzzle(8, 5) = puzzle(1, 6) = puzzle(8, 6) = 0;
    const Grid afterLogic = puzzle;
    for (int k : {1, 5, 9}) puzzle(k, k) = 0;  // cells that logic does fill
    loadPuzzle(puzzle);
    solveCommand();
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(afterLogic, puzzle));
    EXPECT_EQ(game.statusText, statusNoErrors);
    EXPECT_FALSE(game.guessing);

    // A player's digit repeating the given beside it in its row, with a note: the solve restarts from the givens.
    std::mt19937 draw(5);
    Grid solution;
    do std::tie(solution, puzzle) = singlesPuzzle(draw, 45);
    while (puzzle(2, 2) != 0 || puzzle(3, 2) == 0);
    loadPuzzle(puzzle);
    game.board(2, 2) = puzzle(3, 2);
    game.candidates(2, 2, 3) = true;
    solveCommand();
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(solution, puzzle));
    EXPECT_EQ(game.statusText, statusSolved);
    EXPECT_FALSE(game.candidates(2, 2, 3));

    // A full board with one wrong entry: no empty cell is dead, so nothing restarts and nothing changes.
    loadPuzzle(Grid{});
    game.board = twoRectangles;
    game.board(2, 2) = static_cast<std::uint8_t>(twoRectangles(2, 2) % 9 + 1);
    const Grid wrong = game.board, none;
    solveCommand();
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(wrong, none));
    EXPECT_EQ(game.statusText, statusWrong);
    EXPECT_FALSE(game.boardFull);

    // Givens with the same digit twice in row 1: the entries are cleared and nothing is placed.
    Grid clashing;
    for (int c = 1; c <= 9; ++c) clashing(c, c) = twoRectangles(c, c);
    clashing(9, 1) = clashing(1, 1);
    loadPuzzle(clashing);
    game.board(5, 2) = twoRectangles(5, 2);
    solveCommand();
    EXPECT_EQ(std::tie(game.board, game.givens), std::tie(clashing, clashing));
    EXPECT_EQ(game.statusText, statusWrong);

    // An empty board offers nothing to go on.
    resetGameState();
    solveCommand();
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.statusText, statusNoErrors);
    EXPECT_FALSE(game.guessing);
}

}  // namespace
}  // namespace nonari
