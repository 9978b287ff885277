// The solver: singles, the one-guess stage with its restores, and the restart of the solve command.
#include "logic/solver.h"

#include "logic/rules.h"
#include "screen/side_panels.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <random>
#include <vector>

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

// Counts solutions up to two by plain backtracking, independent of the game's rules.
int countSolutions(Grid& g, int limit = 2) {
    int best = -1, bestCount = 10;
    unsigned bestMask = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            if (g(c, r) != 0) continue;
            unsigned used = 0;
            for (int i = 1; i <= 9; ++i) used |= (1u << g(c, i)) | (1u << g(i, r));
            int bx = (c - 1) / 3 * 3 + 1, by = (r - 1) / 3 * 3 + 1;
            for (int i = 0; i < 9; ++i) used |= 1u << g(bx + i % 3, by + i / 3);
            unsigned free = ~used & 0x3FEu;
            int count = __builtin_popcount(free);
            if (count < bestCount) {
                best = c + 10 * r;
                bestCount = count;
                bestMask = free;
            }
        }
    if (best < 0) return 1;
    int found = 0;
    for (int d = 1; d <= 9 && found < limit; ++d)
        if (bestMask & (1u << d)) {
            g.cell[static_cast<std::size_t>(best)] = static_cast<std::uint8_t>(d);
            found += countSolutions(g, limit - found);
        }
    g.cell[static_cast<std::size_t>(best)] = 0;
    return found;
}

// A random solution grid: backtracking over the digits in an order of the test's own generator.
bool fillRandomly(Grid& g, std::mt19937& draw, int at = 0) {
    if (at == 81) return true;
    int c = at % 9 + 1, r = at / 9 + 1;
    std::vector<int> digits{1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::shuffle(digits.begin(), digits.end(), draw);
    for (int d : digits) {
        bool clash = false;
        int bx = (c - 1) / 3 * 3 + 1, by = (r - 1) / 3 * 3 + 1;
        for (int i = 1; i <= 9 && !clash; ++i) clash = g(c, i) == d || g(i, r) == d || g(bx + (i - 1) % 3, by + (i - 1) / 3) == d;
        if (clash) continue;
        g(c, r) = static_cast<std::uint8_t>(d);
        if (fillRandomly(g, draw, at + 1)) return true;
        g(c, r) = 0;
    }
    return false;
}

Grid randomGrid(std::mt19937& draw) {
    Grid g;
    fillRandomly(g, draw);
    return g;
}

bool statusIs(const char* text) { return game.statusText == text; }

// Starts a puzzle: the cells of the pattern become givens, board holds the same digits.
void loadPuzzle(const Grid& puzzle) {
    game.board = puzzle;
    game.givens = puzzle;
}

int emptyCells() {
    int empty = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) empty += game.board(c, r) == 0 ? 1 : 0;
    return empty;
}

bool boardFitsGivens() {
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if (game.givens(c, r) != 0 && game.board(c, r) != game.givens(c, r)) return false;
    return true;
}

// Empties cells of a solution one by one, each only when it can then be found again as a
// naked or hidden single; filling them back in reverse order is a singles-only solve.
Grid singlesPuzzle(const Grid& solution, std::mt19937& draw, int wanted) {
    game.board = solution;
    std::vector<int> order;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) order.push_back(c + 10 * r);
    std::shuffle(order.begin(), order.end(), draw);
    int removed = 0;
    for (int at : order) {
        if (removed == wanted) break;
        int c = at % 10, r = at / 10, v = solution(c, r);
        game.board(c, r) = 0;
        int naked = 0;
        for (int d = 1; d <= 9; ++d) naked += trialPlacement(c, r, d) ? 1 : 0;
        int inRow = 0, inColumn = 0;
        for (int i = 1; i <= 9; ++i) {
            inRow += game.board(i, r) == 0 && trialPlacement(i, r, v) ? 1 : 0;
            inColumn += game.board(c, i) == 0 && trialPlacement(c, i, v) ? 1 : 0;
        }
        if (naked == 1 || inRow == 1 || inColumn == 1) ++removed;
        else game.board(c, r) = static_cast<std::uint8_t>(v);
    }
    Grid puzzle = game.board;
    game.board.clear();
    return puzzle;
}

struct Rectangle {
    int c1, c2, r1, r2;
};

// Four cells x y / y x in two rows of one band and two columns of different stacks: with
// them empty the board has exactly two completions and no single anywhere in them.
std::vector<Rectangle> swappableRectangles(const Grid& g) {
    std::vector<Rectangle> found;
    for (int r1 = 1; r1 <= 9; ++r1)
        for (int r2 = r1 + 1; r2 <= 9; ++r2) {
            if ((r1 - 1) / 3 != (r2 - 1) / 3) continue;
            for (int c1 = 1; c1 <= 9; ++c1)
                for (int c2 = c1 + 1; c2 <= 9; ++c2)
                    if ((c1 - 1) / 3 != (c2 - 1) / 3 && g(c1, r1) == g(c2, r2) && g(c2, r1) == g(c1, r2))
                        found.push_back({c1, c2, r1, r2});
        }
    return found;
}

void emptyRectangle(Grid& g, const Rectangle& q) {
    g(q.c1, q.r1) = g(q.c2, q.r1) = g(q.c1, q.r2) = g(q.c2, q.r2) = 0;
}

using SolverTest = HeadlessGame;

TEST_F(SolverTest, SinglesCompleteAPuzzleWithoutGuessing) {
    std::mt19937 draw(11);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const Grid solution = randomGrid(draw);
        const Grid puzzle = singlesPuzzle(solution, draw, 50);
        loadPuzzle(puzzle);
        // The guessing stage would overwrite this snapshot.
        game.boardCopy.cell.fill(0xEE);
        game.numbersMode = false;
        pf.recordTexts = true;
        pf.drawnTexts.clear();
        solveCommand();
        // Every placement is drawn as it happens: one letter per filled cell.
        std::string drawn, placed;
        for (const std::string& text : pf.drawnTexts)
            if (text.size() == 1 && text[0] >= 'A' && text[0] <= 'I') drawn += text;
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r)
                if (puzzle(c, r) == 0) placed += static_cast<char>('@' + solution(c, r));
        std::sort(drawn.begin(), drawn.end());
        std::sort(placed.begin(), placed.end());
        EXPECT_EQ(drawn, placed);
        EXPECT_EQ(game.board, solution);
        EXPECT_EQ(game.givens, puzzle);
        EXPECT_TRUE(statusIs(statusSolved));
        EXPECT_TRUE(game.boardFull);
        EXPECT_EQ(game.boardCopy.cell[11], 0xEE);
        EXPECT_FALSE(game.guessing);
    }
}

TEST_F(SolverTest, OneGuessTakesTheLowerDigitFirst) {
    std::mt19937 draw(3);
    int checked = 0;
    for (int round = 0; round < 50 && checked < 6; ++round) {
        const Grid solution = randomGrid(draw);
        std::vector<Rectangle> rectangles = swappableRectangles(solution);
        if (rectangles.empty()) continue;
        const Rectangle& q = rectangles.front();
        // Both completions solve the board, so only the order of the trials decides.
        Grid puzzle = solution;
        emptyRectangle(puzzle, q);
        resetGameState();
        loadPuzzle(puzzle);
        game.givens.clear();
        solveCommand();
        ASSERT_TRUE(statusIs(statusSolved));
        int lower = std::min(solution(q.c1, q.r1), solution(q.c2, q.r1));
        EXPECT_EQ(game.board(q.c1, q.r1), lower);
        EXPECT_EQ(game.board(q.c2, q.r1), std::max(solution(q.c1, q.r1), solution(q.c2, q.r1)));
        EXPECT_FALSE(game.guessing);
        ++checked;
    }
    EXPECT_EQ(checked, 6);
}

TEST_F(SolverTest, PuzzleNeedingTwoGuessesKeepsOnlyWhatLogicFound) {
    // Two rectangles in different bands and columns: fixing one leaves the other undecided.
    std::mt19937 draw(4);
    Grid solution;
    std::vector<Rectangle> rectangles;
    const Rectangle* first = nullptr;
    const Rectangle* second = nullptr;
    for (int round = 0; round < 200 && !first; ++round) {
        solution = randomGrid(draw);
        rectangles = swappableRectangles(solution);
        for (const Rectangle& a : rectangles)
            for (const Rectangle& b : rectangles)
                if (!first && (a.r1 - 1) / 3 != (b.r1 - 1) / 3 && a.c1 != b.c1 && a.c1 != b.c2 && a.c2 != b.c1 &&
                    a.c2 != b.c2) {
                    first = &a;
                    second = &b;
                }
    }
    ASSERT_NE(first, nullptr);
    Grid afterLogic = solution;
    emptyRectangle(afterLogic, *first);
    emptyRectangle(afterLogic, *second);
    // A few more empty cells that logic does fill, so that what logic found is more than nothing.
    Grid puzzle = afterLogic;
    for (int k : {1, 5, 9})
        if (afterLogic(k, k) != 0) puzzle(k, k) = 0;
    ASSERT_NE(puzzle, afterLogic);
    loadPuzzle(puzzle);

    solveCommand();
    EXPECT_EQ(game.board, afterLogic);
    EXPECT_EQ(emptyCells(), 8);
    EXPECT_TRUE(statusIs(statusNoErrors));
    EXPECT_FALSE(game.guessing);
    EXPECT_TRUE(boardFitsGivens());
}

TEST_F(SolverTest, UniquePuzzlesEndSolvedOrAsLogicLeftThem) {
    // Puzzles with one solution, made harder step by step: the solver may give up, but it never
    // leaves a wrong digit or a digit of a failed guess, and never touches a given.
    std::mt19937 draw(2024);
    int byLogic = 0, byHigherGuess = 0, unsolved = 0;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        const Grid solution = randomGrid(draw);
        Grid puzzle = solution;
        std::vector<int> order;
        for (int i = 0; i < 81; ++i) order.push_back(i % 9 + 1 + 10 * (i / 9 + 1));
        std::shuffle(order.begin(), order.end(), draw);
        int wanted = round < 4 ? 44 : round < 8 ? 54 : 81, removed = 0;
        for (int at : order) {
            if (removed == wanted) break;
            std::uint8_t keep = puzzle.cell[static_cast<std::size_t>(at)];
            puzzle.cell[static_cast<std::size_t>(at)] = 0;
            Grid probe = puzzle;
            if (countSolutions(probe) == 1) ++removed;
            else puzzle.cell[static_cast<std::size_t>(at)] = keep;
        }

        // What the ten passes alone reach (a run inside the guessing stage never guesses).
        resetGameState();
        loadPuzzle(puzzle);
        game.guessing = true;
        solveBoard();
        game.guessing = false;
        const Grid afterLogic = game.board;
        bool logicSolved = statusIs(statusSolved);

        resetGameState();
        loadPuzzle(puzzle);
        solveCommand();
        EXPECT_EQ(game.givens, puzzle);
        EXPECT_TRUE(boardFitsGivens());
        if (statusIs(statusSolved)) {
            EXPECT_EQ(game.board, solution);
            if (logicSolved) {
                ++byLogic;
                continue;
            }
            // The first cell with two fitting digits: when its right digit is the higher one,
            // the lower one was tried and dropped first.
            game.board = afterLogic;
            for (int y = 1, done = 0; y <= 9 && !done; ++y)
                for (int x = 1; x <= 9 && !done; ++x) {
                    if (game.board(x, y) != 0) continue;
                    std::vector<int> fit;
                    for (int d = 1; d <= 9; ++d)
                        if (trialPlacement(x, y, d)) fit.push_back(d);
                    if (fit.size() != 2) continue;
                    done = 1;
                    if (solution(x, y) == fit[1]) {
                        // Only a guess at this very cell could have solved it, if the right digit alone finishes it.
                        game.board(x, y) = static_cast<std::uint8_t>(fit[1]);
                        game.guessing = true;
                        solveBoard();
                        game.guessing = false;
                        if (statusIs(statusSolved)) ++byHigherGuess;
                    }
                }
        } else {
            ++unsolved;
            EXPECT_EQ(game.board, afterLogic);
            EXPECT_TRUE(statusIs(statusNoErrors));
        }
    }
    // The generated set must reach every outcome, or the checks above prove little.
    EXPECT_GT(byLogic, 0);
    EXPECT_GT(byHigherGuess, 0);
    EXPECT_GT(unsolved, 0);
}

TEST_F(SolverTest, WrongEntryRestartsFromTheGivens) {
    std::mt19937 draw(5);
    const Grid solution = randomGrid(draw);
    const Grid puzzle = singlesPuzzle(solution, draw, 45);
    loadPuzzle(puzzle);
    // A player's digit that repeats a given of its row.
    int wrongX = 0, wrongY = 0;
    for (int x = 1; x <= 9 && !wrongX; ++x)
        for (int y = 1; y <= 9 && !wrongX; ++y)
            if (puzzle(x, y) == 0)
                for (int i = 1; i <= 9; ++i)
                    if (puzzle(i, y) != 0) {
                        game.board(x, y) = puzzle(i, y);
                        wrongX = x;
                        wrongY = y;
                        break;
                    }
    ASSERT_NE(wrongX, 0);
    game.candidates(wrongX, wrongY, 3) = true;
    ASSERT_FALSE(isConsistent());

    solveCommand();
    EXPECT_EQ(game.board, solution);
    EXPECT_EQ(game.givens, puzzle);
    EXPECT_TRUE(statusIs(statusSolved));
    EXPECT_FALSE(game.candidates(wrongX, wrongY, 3));
}

TEST_F(SolverTest, FullBoardWithOneWrongDigitStaysUnchanged) {
    const Grid solution = patternGrid();
    Grid givens = solution;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if ((c * 7 + r) % 3 != 0) givens(c, r) = 0;
    game.board = solution;
    game.givens = givens;
    int x = 2, y = 2;
    ASSERT_EQ(givens(x, y), 0);
    game.board(x, y) = static_cast<std::uint8_t>(solution(x, y) % 9 + 1);
    const Grid wrong = game.board;

    solveCommand();
    EXPECT_EQ(game.board, wrong);
    EXPECT_EQ(game.givens, givens);
    EXPECT_TRUE(statusIs(statusWrong));
    EXPECT_FALSE(game.boardFull);
}

TEST_F(SolverTest, ConflictingGivensClearTheEntriesAndPlaceNothing) {
    const Grid solution = patternGrid();
    Grid givens;
    for (int c = 1; c <= 9; ++c) givens(c, c) = solution(c, c);
    givens(9, 1) = givens(1, 1);  // the same digit twice in row 1
    game.givens = givens;
    game.board = givens;
    game.board(5, 2) = solution(5, 2);
    game.board(3, 8) = solution(3, 8);

    solveCommand();
    EXPECT_EQ(game.board, givens);
    EXPECT_EQ(game.givens, givens);
    EXPECT_TRUE(statusIs(statusWrong));
}

TEST_F(SolverTest, EmptyBoardStaysEmpty) {
    solveCommand();
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
    EXPECT_TRUE(statusIs(statusNoErrors));
    EXPECT_FALSE(game.guessing);
}

}  // namespace
}  // namespace nonari
