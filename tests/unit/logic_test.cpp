// The rules on grids, solving, shuffling, the grader per technique, the hint, the levels and the collections.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "logic/hint.h"
#include "logic/levels.h"
#include "logic/puzzle_grid.h"
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "logic/solver.h"
#include "platform/system.h"
#include "tests/support/test_support.h"
#include "tools/collection_gen/collection.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>

namespace nonari {
namespace {

long countMarks(const CandidateGrid& candidates) { return std::ranges::count(candidates.mark, true); }

// Two swappable rectangles, cells x y / y x in two rows of one band and two columns of different stacks; with
// either of them empty the board has exactly two completions and no single in them.
const Grid solution = test::gridFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");

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
    board(3, 3) = 12, board(4, 4) = 255;
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
    givens(1, 1) = 1, givens(9, 9) = 8;
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
    void placed(int x, int y, int d) override { log += std::to_string(x) + "," + std::to_string(y) + "=" + std::to_string(d) + " "; }
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
    std::swap(swapped(2, 2), swapped(5, 2)), std::swap(swapped(2, 3), swapped(5, 3));
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
}

using T = Technique;

// Puzzles whose easiest solving path needs the technique at its hardest.
const std::pair<T, const char*> techniqueCases[] = {
    {T::NakedSingle, "..947.2..3.....4...4.1.8........16821..8.65.4.5824..937826...45.3........14..9.2."},
    {T::HiddenSingleInBox, "9.475..32.7..28..6.8.9...7..5.1....81....5.4.247..3........75.......2....31.....9"},
    {T::HiddenSingleInLine, "6...3.547.3.4...21............387....7.1..3....9.......4.....1.2....48.38...7645."},
    {T::LockedCandidates, "3.529.84....5..1.3..9.....2..7...2.....9........421.....2.......56......9.8.43..6"},
    {T::NakedPair, "..1.57..22.9.4.......9..7.4..5....3..9.......74..23519......86....56..7..3......."},
    {T::HiddenPair, "....9...6.9...6.1....8..9.7..8..........5.2..5.2..7.842..5.........648....7.1..6."},
    {T::NakedTriple, "..1.6.52..6.1...9.......4....97.8..3.1.3.6.7.....9.1.2..7.8...5.3..5.71...6......"},
    {T::HiddenTriple, "...4........8...34..7.3..26.93.85.............2..6...94.2.....57...1...3.1..9.7.."},
    {T::XWing, "5..3..4.1..4...37..2...........17..4..29..8...49..2.....1.5...729.....5.6..2.8..."},
    {T::XYWing, "...4.8..9.2.7.1.......9.5...963.4.57..3....4.4..8..91.....4.....51..2....8..7...5"},
    {T::Swordfish, ".1..7.26.9.........74.8.1....7.6..5.3.....7...5..3..2......958...2.....64...5...."},
    {T::XYZWing, "....6.7..738....1..61.9.3...82....6331.....9.6.7..42...29.1.....7.6.........78..."},
    {T::SimpleColouring, ".7893.1.....4.8..3.2.176.....7.13.292.1.5....9...42.15..9....5..3..9.6......849.1"},
    {T::XChain, ".7..64.5.3....1..6...3......8..4..2...2.1..3..147.......86...7..9..7.1.......82.9"},
    {T::XYChain, "....75.2..4.2.9.8.......4.99...63.....57..2....38.4.....7........264.5.7......86."},
    {T::AlternatingChain, "86....9....2.8.61.4.........9..62.31...9...56.3...1...1.6.9...295....1..2836.7.9."},
};

// Every step keeps the solution: a placement is the solution's digit, an elimination never removes it, and the
// pattern it names consists of open cells. Pressing T and doing what it says finishes the puzzle too: an
// elimination is asked past on the same board, a placement made; every line fits the help panel.
TEST(Grader, EachTechniqueIsNeededByItsPuzzleEveryStepKeepsTheSolutionAndTheHintsFinishIt) {
    for (const auto& [technique, text] : techniqueCases) {
        SCOPED_TRACE(techniqueName(technique));
        const Puzzle puzzle = *puzzleFromText(text);
        const Puzzle solution = *uniqueSolution(puzzle);
        const Grade grade = gradePuzzle(puzzle);
        EXPECT_EQ(grade.hardest, technique);
        EXPECT_TRUE(grade.solved && grade.result == solution);
        EXPECT_FALSE(gradePuzzle(puzzle, upTo(T(int(technique) - 1))).solved);
        // The ladder above the singles: Schwer up to the hidden triple, Extrem up to the swordfish, then no level.
        const std::optional<int> ladder = technique <= T::HiddenTriple ? 2 : technique <= T::Swordfish ? 3 : std::optional<int>();
        if (technique >= T::LockedCandidates && technique < T::AlternatingChain) { EXPECT_EQ(levelOf(puzzle), ladder); }
        CandidateState s = candidateStateOf(puzzle);
        while (!isSolved(s)) {
            const CandidateState before = s;
            Step step;
            const T used = applyEasiest(s, upTo(technique), &step);
            ASSERT_NE(used, T::None);
            EXPECT_EQ(step.technique, used);
            ASSERT_FALSE(step.pattern.empty());
            for (int cell : step.pattern) EXPECT_EQ(before.value[std::size_t(cell)], 0) << techniqueName(used);
            if (step.cell >= 0) {
                EXPECT_EQ(step.digit, solution[std::size_t(step.cell)]) << techniqueName(used);
                continue;
            }
            ASSERT_FALSE(step.eliminations.empty()) << techniqueName(used);
            for (auto [cell, digit] : step.eliminations)
                ASSERT_NE(digit, solution[std::size_t(cell)]) << techniqueName(used) << " removed the solution";
        }

        const Grid givens = gridOf(puzzle), solved = gridOf(solution);
        Grid board = givens;
        int skip = 0, steps = 0;
        for (Hint hint = nextHint(board, givens); hint.kind != Hint::Kind::Solved; hint = nextHint(board, givens, skip)) {
            ASSERT_EQ(hint.kind, Hint::Kind::Step);
            ASSERT_LT(++steps, 400);
            for (bool numbers : {true, false}) {
                const std::vector<std::string> lines = wrapText(hintText(hint, numbers), 26);
                EXPECT_LE(lines.size(), 3u) << hintText(hint, numbers);
                for (const std::string& line : lines) EXPECT_LE(line.size(), 27u) << line;  // an umlaut takes two bytes
            }
            if (hint.step.cell < 0) {
                ++skip;
                continue;
            }
            const auto [c, r] = hintTargetCells(hint).front();
            ASSERT_EQ(hint.step.digit, solved(c, r));
            board(c, r) = solved(c, r);
            skip = 0;
        }
        EXPECT_EQ(board, solved);
    }
}

// Nothing to go on, two solutions, clashing givens: no technique finishes them and none has a level. The hint names
// what is wrong first: a digit twice in a row (the rules show it), else one the solution does not have.
TEST(Grader, BoardsWithoutOneSolutionHaveNoLevelAndTheHintNamesWhatIsWrong) {
    Puzzle open = puzzleOf(solution);
    for (int i : {10, 13, 19, 22}) open[std::size_t(i)] = 0;  // rows 1 and 2 swap their digits in columns 1 and 4
    ASSERT_EQ(countSolutions(open), 2);
    Puzzle clash{};
    clash[0] = clash[1] = 3;
    for (const Puzzle& p : {Puzzle{}, open, clash}) {
        const Grade none = gradePuzzle(p);
        EXPECT_TRUE(!none.solved && none.hardest == T::Beyond && !levelOf(p));
    }
    EXPECT_FALSE(gameSolveCommandFinishes(clash));

    const Grid givens = gridOf(*puzzleFromText(techniqueCases[0].second));  // row 1: ..947.2..
    const Grid solution = gridOf(*uniqueSolution(puzzleOf(givens)));
    Grid board = givens;
    board(1, 1) = 9;
    EXPECT_EQ(hintText(nextHint(board, givens), false), "In Zeile 1 steht das I zweimal.");
    for (board(1, 1) = 1; board(1, 1) == solution(1, 1) || !isConsistent(board); ++board(1, 1)) ASSERT_LT(board(1, 1), 9);
    EXPECT_EQ(hintText(nextHint(board, givens), true), "In Zeile 1 steht eine falsche Zahl.");
    EXPECT_EQ(hintText(nextHint(solution, givens), true), "Das Brett ist gelöst.");
}

// Puzzles the generator made (nonari-collections --seed 7 --list 300, saved once; making them here would take
// minutes) and a few made now: each lies inside its level.
TEST(Levels, EveryGeneratedPuzzleLiesInsideItsLevel) {
    std::ifstream in(test::sourceDir() / "tests" / "data" / "generated_levels.txt");
    std::array<int, 5> count{};
    std::string name, text;
    while (in >> name) {
        if (name.starts_with("#")) {
            std::getline(in, text);
            continue;
        }
        in >> text;
        const std::optional<int> level = levelByName(name);
        const std::optional<Puzzle> puzzle = puzzleFromText(text);
        ASSERT_TRUE(level && puzzle) << name << " " << text;
        EXPECT_TRUE(fitsLevel(*puzzle, *level)) << name << " " << text;
        ++count[std::size_t(*level)];
    }
    for (int made : count) EXPECT_GE(made, 200);
    Rng rng(2718);
    for (int level = 0; level < 5; ++level) {
        const std::optional<MadePuzzle> made = makePuzzle(level, rng, 20000);
        ASSERT_TRUE(made);
        Technique hardest = T::None;
        EXPECT_TRUE(fitsLevel(made->puzzle, level, &hardest) && hardest == made->hardest) << level;
    }
}

// Four fresh puzzles a file (board and givens alike, no notes) that the game reads, each inside its level.
using ShippedCollections = test::HeadlessGame;
TEST_F(ShippedCollections, EveryRecordIsAFreshPuzzleOfItsLevel) {
    for (int level = 0; level < 5; ++level) {
        const auto file = test::readBytes(test::sourceDir() / "data" / collectionFile(level));
        ASSERT_EQ(file.size(), std::size_t(4 * boardRecordSize)) << level;
        game.dialog.currentFile = collectionFile(level);  // the game's reader finds the shipped file
        for (int n = 0; n < 4; ++n) {
            const auto record = file.begin() + n * boardRecordSize;
            EXPECT_TRUE(std::equal(record, record + 100, record + 100)) << level << n;
            EXPECT_TRUE(std::all_of(record + 200, record + 1200, [](int b) { return b == 0; })) << level << n;
            ASSERT_EQ(readBoardRecord(static_cast<std::int16_t>(n)), FileResult::Ok);
            EXPECT_TRUE(fitsLevel(puzzleOf(game.puzzle.givens), level)) << level << n;
        }
    }
}

}  // namespace

namespace gen {
namespace {

class CollectionTool : public test::HeadlessGame {};

TEST_F(CollectionTool, SameSeedGivesTheSameBytesWrittenWholeOrNotAtAll) {
    const auto first = makeCollection(0, 314), again = makeCollection(0, 314), other = makeCollection(0, 315);
    ASSERT_TRUE(first && again && other);
    EXPECT_EQ(first->bytes, again->bytes);
    EXPECT_NE(first->bytes, other->bytes);
    ASSERT_EQ(std::make_pair(first->bytes.size(), first->puzzles.size()), std::make_pair(8800ul, 4ul));
    for (int n = 0; n < 4; ++n) EXPECT_TRUE(puzzleInRecord(first->bytes, n) == first->puzzles[std::size_t(n)].puzzle);
    EXPECT_FALSE(puzzleInRecord(first->bytes, 4));

    test::writeBytes("leicht.nnr", std::vector<unsigned char>(10, 1));
    EXPECT_TRUE(writeFileWhole("leicht.nnr", first->bytes));
    EXPECT_EQ(test::readBytes("leicht.nnr"), first->bytes);
    EXPECT_FALSE(writeFileWhole("missing/leicht.nnr", first->bytes));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1);
}

}  // namespace
}  // namespace gen
}  // namespace nonari
