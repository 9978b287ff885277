// The solver: singles, the one-guess stage with its restores, and the restart of the solve command.
#include "logic/solver.h"

#include "logic/rules.h"
#include "screen/side_panels.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

namespace nonari {
namespace {

using test::countSolutions;

Grid randomGrid(std::mt19937& draw) {
    Grid g;
    countSolutions(Grid{}, 1, &g, &draw);
    return g;
}

void loadPuzzle(const Grid& puzzle) {
    game.board = puzzle;
    game.givens = puzzle;
}

// Empties up to `wanted` cells of a solution, in a random order, each only when mayGo(c, r, v) holds for the
// board without it.
Grid dig(const Grid& solution, std::mt19937& draw, int wanted, const std::function<bool(int, int, int)>& mayGo) {
    std::vector<int> cells(81);
    std::iota(cells.begin(), cells.end(), 0);
    std::shuffle(cells.begin(), cells.end(), draw);
    game.board = solution;
    for (int i : cells) {
        int c = i % 9 + 1, r = i / 9 + 1, v = game.board(c, r);
        game.board(c, r) = 0;
        if (wanted > 0 && mayGo(c, r, v)) --wanted;
        else game.board(c, r) = static_cast<std::uint8_t>(v);
    }
    return std::exchange(game.board, Grid{});
}

// Each emptied cell can be found again as a naked single or a hidden single of its row or column, so filling
// them back in reverse order is a singles-only solve.
Grid singlesPuzzle(const Grid& solution, std::mt19937& draw, int wanted) {
    return dig(solution, draw, wanted, [](int c, int r, int v) {
        int naked = 0, inRow = 0, inColumn = 0;
        for (int i = 1; i <= 9; ++i) {
            naked += trialPlacement(c, r, i) ? 1 : 0;
            inRow += game.board(i, r) == 0 && trialPlacement(i, r, v) ? 1 : 0;
            inColumn += game.board(c, i) == 0 && trialPlacement(c, i, v) ? 1 : 0;
        }
        return naked == 1 || inRow == 1 || inColumn == 1;
    });
}

// The ten passes of singles alone (a run inside the guessing stage never guesses); true when they solve the board.
bool logicAloneSolves(const Grid& board) {
    game.board = board;
    game.guessing = true;
    solveBoard();
    game.guessing = false;
    return game.statusText == statusSolved;
}

// A solution grid with two swappable rectangles, cells x y / y x in two rows of one band and two columns of
// different stacks; with one of them empty the board has exactly two completions and no single in them.
const Grid twoRectangles =
    test::gridFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");
struct Rectangle { int c1, c2, r1, r2; };
constexpr Rectangle first{2, 5, 2, 3}, second{1, 8, 5, 6};  // in different bands and columns

void emptyRectangle(Grid& g, const Rectangle& q) { g(q.c1, q.r1) = g(q.c2, q.r1) = g(q.c1, q.r2) = g(q.c2, q.r2) = 0; }

using SolverTest = test::HeadlessGame;

TEST_F(SolverTest, SinglesFinishWithoutGuessingAndDrawEachPlacement) {
    std::mt19937 draw(11);
    game.numbersMode = false;
    pf.recordTexts = true;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const Grid solution = randomGrid(draw);
        const Grid puzzle = singlesPuzzle(solution, draw, 50);
        loadPuzzle(puzzle);
        game.boardCopy.cell.fill(0xEE);  // the guessing stage would overwrite this snapshot
        pf.drawnTexts.clear();
        solveCommand();
        EXPECT_EQ(game.board, solution);
        EXPECT_EQ(game.givens, puzzle);
        EXPECT_EQ(game.statusText, statusSolved);
        EXPECT_EQ(game.boardCopy.cell[11], 0xEE);
        // Every placement is drawn as it happens: in letters mode one letter per filled cell.
        std::string drawn, placed;
        for (const std::string& text : pf.drawnTexts)
            if (text.size() == 1 && text[0] >= 'A' && text[0] <= 'I') drawn += text;
        for (std::size_t i = 0; i < 100; ++i)
            if (puzzle.cell[i] == 0 && solution.cell[i] != 0) placed += static_cast<char>('@' + solution.cell[i]);
        std::sort(drawn.begin(), drawn.end());
        std::sort(placed.begin(), placed.end());
        EXPECT_EQ(drawn, placed);
    }
}

TEST_F(SolverTest, OneGuessTakesTheLowerDigitFirstAndTwoAreNeverMade) {
    // One rectangle empty: only the order of the trials decides the completion. Its first cell holds 4 in the
    // grid and may hold 2; the guess tries 2 first, which solves the board with the rectangle swapped.
    Grid puzzle = twoRectangles;
    emptyRectangle(puzzle, first);
    loadPuzzle(puzzle);
    solveCommand();
    Grid swapped = twoRectangles;
    std::swap(swapped(2, 2), swapped(5, 2));
    std::swap(swapped(2, 3), swapped(5, 3));
    EXPECT_EQ(game.board, swapped);
    EXPECT_EQ(game.givens, puzzle);
    EXPECT_EQ(game.statusText, statusSolved);

    // Both empty would need two guesses: fixing one leaves the other undecided, so every guess is undone.
    Grid afterLogic = puzzle;
    emptyRectangle(afterLogic, second);
    puzzle = afterLogic;
    for (int k : {1, 5, 9}) puzzle(k, k) = 0;  // cells that logic does fill, so that it finds more than nothing
    loadPuzzle(puzzle);
    solveCommand();
    EXPECT_EQ(game.board, afterLogic);
    EXPECT_EQ(game.givens, puzzle);
    EXPECT_EQ(game.statusText, statusNoErrors);
    EXPECT_FALSE(game.guessing);
}

TEST_F(SolverTest, UniquePuzzlesEndSolvedOrAsLogicLeftThem) {
    // Puzzles with one solution, made harder step by step: the solver may give up, but it never leaves a wrong
    // digit or a digit of a failed guess, and never touches a given.
    std::mt19937 draw(2024);
    int byLogic = 0, byHigherGuess = 0, unsolved = 0;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        const Grid solution = randomGrid(draw);
        const Grid puzzle = dig(solution, draw, round < 4 ? 44 : round < 8 ? 54 : 81,
                                [](int, int, int) { return countSolutions(game.board) == 1; });
        resetGameState();
        loadPuzzle(puzzle);
        const bool logicSolved = logicAloneSolves(puzzle);
        const Grid afterLogic = game.board;
        loadPuzzle(puzzle);
        solveCommand();
        EXPECT_EQ(game.givens, puzzle);
        if (game.statusText != statusSolved) {
            ++unsolved;
            EXPECT_EQ(game.board, afterLogic);
            EXPECT_EQ(game.statusText, statusNoErrors);
            continue;
        }
        EXPECT_EQ(game.board, solution);
        byLogic += logicSolved ? 1 : 0;
        // The guesses begin at the first cell with two fitting digits, rows from the top: when its right digit is
        // the higher one and finishes the board, the lower one was tried and dropped first.
        game.board = afterLogic;
        for (int at = 11; at < 100 && !logicSolved; ++at) {
            int x = at % 10, y = at / 10, fits = 0, higher = 0;
            if (x == 0 || afterLogic(x, y) != 0) continue;
            for (int d = 1; d <= 9; ++d)
                if (trialPlacement(x, y, d)) ++fits, higher = d;
            if (fits != 2) continue;
            Grid guessed = afterLogic;
            guessed(x, y) = static_cast<std::uint8_t>(higher);
            byHigherGuess += solution(x, y) == higher && logicAloneSolves(guessed) ? 1 : 0;
            break;
        }
    }
    // The generated set must reach every outcome, or the checks above prove little.
    EXPECT_GT(byLogic, 0);
    EXPECT_GT(byHigherGuess, 0);
    EXPECT_GT(unsolved, 0);
}

TEST_F(SolverTest, WrongEntryRestartsFromTheGivens) {
    std::mt19937 draw(5);
    const Grid& solution = twoRectangles;
    const Grid puzzle = singlesPuzzle(solution, draw, 45);
    loadPuzzle(puzzle);
    // A player's digit that repeats the given beside it in its row, with a note in the same cell.
    std::size_t at = 11;
    while (at % 10 == 0 || puzzle.cell[at] != 0 || puzzle.cell.at(at + 1) == 0) ++at;
    const int x = static_cast<int>(at % 10), y = static_cast<int>(at / 10);
    game.board(x, y) = puzzle(x + 1, y);
    game.candidates(x, y, 3) = true;
    solveCommand();
    EXPECT_EQ(game.board, solution);
    EXPECT_EQ(game.givens, puzzle);
    EXPECT_EQ(game.statusText, statusSolved);
    EXPECT_FALSE(game.candidates(x, y, 3));
}

TEST_F(SolverTest, WrongFullBoardsClashingGivensAndEmptyBoardsGetNoDigit) {
    const Grid& solution = twoRectangles;
    // A full board with one wrong entry: no empty cell is dead, so nothing restarts and nothing changes.
    Grid givens;
    for (std::size_t i = 11; i < 100; i += 3) givens.cell[i] = solution.cell[i];
    game.givens = givens;
    game.board = solution;
    game.board(2, 2) = static_cast<std::uint8_t>(solution(2, 2) % 9 + 1);
    const Grid wrong = game.board;
    solveCommand();
    EXPECT_EQ(game.board, wrong);
    EXPECT_EQ(game.givens, givens);
    EXPECT_EQ(game.statusText, statusWrong);
    EXPECT_FALSE(game.boardFull);

    // Givens with the same digit twice in row 1: the entries are cleared and nothing is placed.
    Grid clashing;
    for (int c = 1; c <= 9; ++c) clashing(c, c) = solution(c, c);
    clashing(9, 1) = clashing(1, 1);
    loadPuzzle(clashing);
    game.board(5, 2) = solution(5, 2);
    game.board(3, 8) = solution(3, 8);
    solveCommand();
    EXPECT_EQ(game.board, clashing);
    EXPECT_EQ(game.givens, clashing);
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
