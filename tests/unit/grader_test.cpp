// The technique grader, one puzzle per technique, the five levels, the shipped collections and the collection tool.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "logic/hint.h"
#include "logic/levels.h"
#include "logic/rules.h"
#include "tests/support/test_support.h"
#include "tools/collection_gen/collection.h"

#include <algorithm>
#include <fstream>
#include <utility>

namespace nonari {
namespace {

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
        if (technique >= T::LockedCandidates && technique < T::AlternatingChain)
            EXPECT_EQ(levelOf(puzzle),
                      technique <= T::HiddenTriple ? std::optional(2) : technique <= T::Swordfish ? std::optional(3) : std::nullopt);
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
    Puzzle open = *puzzleFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");
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
