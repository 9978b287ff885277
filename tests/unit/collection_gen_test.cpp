// The collection generator: its technique grader, reproducible collections, the solve replay and file writes.
#include "tools/collection_gen/game_check.h"
#include "tools/collection_gen/generator.h"
#include "tools/collection_gen/grader.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <set>
#include <utility>

namespace nonari::gen {
namespace {

using Removal = std::pair<int, int>;  // (cell, digit)
using Removals = std::set<Removal>;

int cell(int row, int column) { return 9 * row + column; }  // 0-based, for the patterns below

// A board without placed digits where every cell may still hold every digit.
CandidateState openBoard() {
    CandidateState s;
    s.candidates.fill(allDigits);
    return s;
}

void removeDigit(CandidateState& s, int row, int column, int d) {
    s.candidates[static_cast<std::size_t>(cell(row, column))] &= static_cast<DigitMask>(~(1u << d));
}

void keepOnly(CandidateState& s, int row, int column, std::initializer_list<int> digits) {
    DigitMask m = 0;
    for (int d : digits) m = static_cast<DigitMask>(m | (1u << d));
    s.candidates[static_cast<std::size_t>(cell(row, column))] = m;
}

Removals removedBetween(const CandidateState& before, const CandidateState& after) {
    Removals removed;
    for (int c = 0; c < 81; ++c)
        for (int d = 1; d <= 9; ++d) {
            bool was = (before.candidates[static_cast<std::size_t>(c)] & (1u << d)) != 0;
            bool is = (after.candidates[static_cast<std::size_t>(c)] & (1u << d)) != 0;
            if (was && !is) removed.insert({c, d});
            EXPECT_FALSE(!was && is) << "candidate " << d << " reappeared in cell " << c;
        }
    return removed;
}

// Checks that `expected` is the easiest technique that applies, then applies it until it finds nothing more and
// returns everything it removed.
Removals exhaust(const CandidateState& start, Technique expected) {
    CandidateState probe = start;
    EXPECT_EQ(applyEasiest(probe, Technique::AlternatingChain), expected) << techniqueName(expected);
    CandidateState s = start;
    int steps = 0;
    while (applyTechnique(expected, s) && steps < 50) ++steps;
    EXPECT_GE(steps, 1);
    return removedBetween(start, s);
}

TEST(Grader, IntersectionsAndSubsetsRemoveExactlyWhatTheirPatternForbids) {
    {  // Pointing: in the top-left box a 4 can only be in row 0, so the rest of row 0 loses it.
        CandidateState s = openBoard();
        for (int r = 1; r <= 2; ++r)
            for (int c = 0; c < 3; ++c) removeDigit(s, r, c, 4);
        Removals expected;
        for (int c = 3; c < 9; ++c) expected.insert({cell(0, c), 4});
        EXPECT_EQ(exhaust(s, Technique::LockedCandidates), expected);
    }
    {  // Claiming: in row 4 a 7 can only be in the centre box, so that box's other rows lose it.
        CandidateState s = openBoard();
        for (int c : {0, 1, 2, 6, 7, 8}) removeDigit(s, 4, c, 7);
        Removals expected;
        for (int r : {3, 5})
            for (int c = 3; c < 6; ++c) expected.insert({cell(r, c), 7});
        EXPECT_EQ(exhaust(s, Technique::LockedCandidates), expected);
    }
    {  // Naked pair {1,2} in row 0 inside the top-left box: both the row and the box lose 1 and 2.
        CandidateState s = openBoard();
        keepOnly(s, 0, 0, {1, 2});
        keepOnly(s, 0, 1, {1, 2});
        Removals expected;
        for (int d : {1, 2}) {
            for (int c = 2; c < 9; ++c) expected.insert({cell(0, c), d});
            for (int r = 1; r < 3; ++r)
                for (int c = 0; c < 3; ++c) expected.insert({cell(r, c), d});
        }
        EXPECT_EQ(exhaust(s, Technique::NakedPair), expected);
    }
    {  // Hidden pair: in column 4 the digits 5 and 6 fit only rows 2 and 7, so those cells keep only 5 and 6.
        CandidateState s = openBoard();
        for (int r = 0; r < 9; ++r)
            if (r != 2 && r != 7)
                for (int d : {5, 6}) removeDigit(s, r, 4, d);
        Removals expected;
        for (int r : {2, 7})
            for (int d : {1, 2, 3, 4, 7, 8, 9}) expected.insert({cell(r, 4), d});
        EXPECT_EQ(exhaust(s, Technique::HiddenPair), expected);
    }
    {  // Naked triple {1,2},{2,3},{1,3} spread over three boxes of row 3: only the row loses 1, 2 and 3.
        CandidateState s = openBoard();
        keepOnly(s, 3, 0, {1, 2});
        keepOnly(s, 3, 4, {2, 3});
        keepOnly(s, 3, 8, {1, 3});
        Removals expected;
        for (int c : {1, 2, 3, 5, 6, 7})
            for (int d : {1, 2, 3}) expected.insert({cell(3, c), d});
        EXPECT_EQ(exhaust(s, Technique::NakedTriple), expected);
    }
    {  // Hidden triple: in the bottom-right box 7, 8 and 9 fit only its diagonal, which then holds nothing else.
        CandidateState s = openBoard();
        for (int r = 6; r < 9; ++r)
            for (int c = 6; c < 9; ++c)
                if (r - 6 != c - 6)
                    for (int d : {7, 8, 9}) removeDigit(s, r, c, d);
        Removals expected;
        for (int i = 6; i < 9; ++i)
            for (int d = 1; d <= 6; ++d) expected.insert({cell(i, i), d});
        EXPECT_EQ(exhaust(s, Technique::HiddenTriple), expected);
    }
}

TEST(Grader, FishAndWingsRemoveExactlyWhatTheirPatternForbids) {
    {  // X-wing: rows 1 and 6 hold their 5 only in columns 2 and 7; those columns lose 5 in every other row.
        CandidateState s = openBoard();
        for (int r : {1, 6})
            for (int c = 0; c < 9; ++c)
                if (c != 2 && c != 7) removeDigit(s, r, c, 5);
        Removals expected;
        for (int r = 0; r < 9; ++r)
            if (r != 1 && r != 6)
                for (int c : {2, 7}) expected.insert({cell(r, c), 5});
        EXPECT_EQ(exhaust(s, Technique::XWing), expected);
    }
    {  // Swordfish: rows 0, 4 and 8 hold their 8 only in columns 1, 4 and 7, two each, with no X-wing among them.
        CandidateState s = openBoard();
        const int rows[3] = {0, 4, 8};
        const std::set<int> kept[3] = {{1, 4}, {4, 7}, {1, 7}};
        for (int i = 0; i < 3; ++i)
            for (int c = 0; c < 9; ++c)
                if (kept[i].count(c) == 0) removeDigit(s, rows[i], c, 8);
        Removals expected;
        for (int r = 0; r < 9; ++r)
            if (r % 4 != 0)
                for (int c : {1, 4, 7}) expected.insert({cell(r, c), 8});
        EXPECT_EQ(exhaust(s, Technique::Swordfish), expected);
    }
    {  // XY-wing: pivot {1,2} with pincers {1,3} in its row and {2,3} in its column; the cell seeing both pincers
       // loses 3.
        CandidateState s = openBoard();
        keepOnly(s, 0, 0, {1, 2});
        keepOnly(s, 0, 5, {1, 3});
        keepOnly(s, 5, 0, {2, 3});
        EXPECT_EQ(exhaust(s, Technique::XYWing), (Removals{{cell(5, 5), 3}}));
    }
    {  // XYZ-wing: pivot {1,2,3}, pincers {1,3} in its box and {2,3} in its column; only cells seeing all three
       // lose 3.
        CandidateState s = openBoard();
        keepOnly(s, 0, 0, {1, 2, 3});
        keepOnly(s, 0, 1, {1, 3});
        keepOnly(s, 4, 0, {2, 3});
        EXPECT_EQ(exhaust(s, Technique::XYZWing), (Removals{{cell(1, 0), 3}, {cell(2, 0), 3}}));
    }
}

TEST(Grader, ChainsRemoveWhatSeesBothEnds) {
    {  // Simple colouring: 9 forms the conjugate chain r0c0 - r2c1 (box) - r7c1 (column) - r7c5 (row); r0c5 sees
       // r0c0 and r7c5, which carry opposite colours.
        CandidateState s = openBoard();
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                if (!(r == 0 && c == 0) && !(r == 2 && c == 1)) removeDigit(s, r, c, 9);
        for (int r = 0; r < 9; ++r)
            if (r != 2 && r != 7) removeDigit(s, r, 1, 9);
        for (int c = 0; c < 9; ++c)
            if (c != 1 && c != 5) removeDigit(s, 7, c, 9);
        EXPECT_EQ(exhaust(s, Technique::SimpleColouring), (Removals{{cell(0, 5), 9}}));
    }
    {  // X-chain (a skyscraper): rows 1 and 4 hold 9 only in column 0 and in columns 4 and 5 of one stack; one of
       // r1c4 and r4c5 is 9, so the cells of their boxes seeing both lose it.
        CandidateState s = openBoard();
        for (int c = 0; c < 9; ++c) {
            if (c != 0 && c != 4) removeDigit(s, 1, c, 9);
            if (c != 0 && c != 5) removeDigit(s, 4, c, 9);
        }
        Removals expected{{cell(0, 5), 9}, {cell(2, 5), 9}, {cell(3, 4), 9}, {cell(5, 4), 9}};
        EXPECT_EQ(exhaust(s, Technique::XChain), expected);
    }
    {  // XY-chain {1,2} - {2,3} - {3,4} - {4,1} around a rectangle: one end is 1, so the two corners seeing both
       // ends lose 1.
        CandidateState s = openBoard();
        keepOnly(s, 0, 0, {1, 2});
        keepOnly(s, 0, 4, {2, 3});
        keepOnly(s, 4, 4, {3, 4});
        keepOnly(s, 4, 8, {4, 1});
        EXPECT_EQ(exhaust(s, Technique::XYChain), (Removals{{cell(0, 8), 1}, {cell(4, 0), 1}}));
    }
    {  // Alternating chain mixing cell and unit links: r0c0 {1,2}, the only two 2s of row 4 in columns 0 and 6,
       // and r8c6 {1,2}. Either r0c0 or r8c6 is 1.
        CandidateState s = openBoard();
        keepOnly(s, 0, 0, {1, 2});
        keepOnly(s, 8, 6, {1, 2});
        for (int c = 1; c < 9; ++c)
            if (c != 6) removeDigit(s, 4, c, 2);
        EXPECT_EQ(exhaust(s, Technique::AlternatingChain), (Removals{{cell(0, 6), 1}, {cell(8, 0), 1}}));
    }
}

// A puzzle dug out of a random grid until no further given can go without losing uniqueness.
Puzzle minimalPuzzle(Rng& rng, Puzzle& solution) {
    solution = randomSolutionGrid(rng);
    Puzzle p = solution;
    std::array<int, 81> order{};
    for (int i = 0; i < 81; ++i) order[static_cast<std::size_t>(i)] = i;
    rng.shuffle(order);
    for (int c : order) {
        Puzzle before = p;
        p[static_cast<std::size_t>(c)] = 0;
        if (countSolutions(p) != 1) p = before;
    }
    return p;
}

TEST(Grader, WholePuzzles) {
    Rng rng(4711);
    Puzzle solution = randomSolutionGrid(rng);
    ASSERT_TRUE(isComplete(solution));

    // With a whole box empty, each of its cells misses from its row the box's row triple and from its column the
    // box's column triple; the two share one digit, so naked singles alone finish it.
    Puzzle boxEmpty = solution;
    for (int r = 3; r < 6; ++r)
        for (int c = 6; c < 9; ++c) boxEmpty[static_cast<std::size_t>(cell(r, c))] = 0;
    Grade g = gradePuzzle(boxEmpty);
    EXPECT_TRUE(g.solved);
    EXPECT_EQ(g.hardest, Technique::NakedSingle);
    EXPECT_EQ(g.result, solution);

    // Nothing to go on, or two solutions: sound logic cannot finish either.
    g = gradePuzzle(Puzzle{});
    EXPECT_FALSE(g.solved);
    EXPECT_EQ(g.hardest, Technique::Beyond);

    // Two rows of one band whose digits swap between two columns of different stacks leave two solutions.
    bool foundRectangle = false;
    for (int attempt = 0; attempt < 200 && !foundRectangle; ++attempt) {
        Puzzle grid = randomSolutionGrid(rng);
        for (int r1 = 0; r1 < 9 && !foundRectangle; ++r1)
            for (int r2 = r1 + 1; r2 < (r1 / 3 + 1) * 3 && !foundRectangle; ++r2)
                for (int c1 = 0; c1 < 9 && !foundRectangle; ++c1)
                    for (int c2 = c1 + 1; c2 < 9 && !foundRectangle; ++c2) {
                        auto v = [&grid](int r, int c) { return grid[static_cast<std::size_t>(cell(r, c))]; };
                        if (c1 / 3 == c2 / 3 || v(r1, c1) != v(r2, c2) || v(r1, c2) != v(r2, c1)) continue;
                        Puzzle open = grid;
                        for (int i : {cell(r1, c1), cell(r1, c2), cell(r2, c1), cell(r2, c2)})
                            open[static_cast<std::size_t>(i)] = 0;
                        EXPECT_EQ(countSolutions(open), 2);
                        Grade twice = gradePuzzle(open);
                        EXPECT_FALSE(twice.solved);
                        EXPECT_EQ(twice.hardest, Technique::Beyond);
                        foundRectangle = true;
                    }
    }
    EXPECT_TRUE(foundRectangle);

    // Given digits in conflict are no puzzle at all.
    Puzzle clash{};
    clash[0] = clash[1] = 5;
    EXPECT_FALSE(gradePuzzle(clash).solved);
}

TEST(Grader, NeverRemovesTheSolutionOnHardPuzzles) {
    Rng rng(2718);
    std::set<Technique> seen;
    for (int n = 0; n < 60; ++n) {
        Puzzle solution{};
        Puzzle puzzle = minimalPuzzle(rng, solution);
        CandidateState s = candidateStateOf(puzzle);
        while (!isSolved(s)) {
            Technique used = applyEasiest(s, Technique::AlternatingChain);
            if (used == Technique::None) break;
            seen.insert(used);
            for (int c = 0; c < 81; ++c) {
                auto i = static_cast<std::size_t>(c);
                if (s.value[i] != 0) {
                    ASSERT_EQ(s.value[i], solution[i]) << techniqueName(used) << " placed a wrong digit";
                } else {
                    ASSERT_NE(s.candidates[i] & (1u << solution[i]), 0u) << techniqueName(used) << " removed the solution";
                }
            }
        }
        Grade g = gradePuzzle(puzzle);
        if (g.solved) {
            EXPECT_EQ(g.result, solution);
        }
    }
    // The sample must reach past the singles, or it proves little about the harder techniques.
    EXPECT_TRUE(seen.count(Technique::LockedCandidates));
    EXPECT_GE(std::count_if(seen.begin(), seen.end(), [](Technique t) { return t >= Technique::XWing; }), 2);
}

TEST(CollectionGenerator, SameSeedGivesTheSameBytes) {
    std::optional<Collection> first = makeCollection(0, 314);
    std::optional<Collection> again = makeCollection(0, 314);
    std::optional<Collection> other = makeCollection(0, 315);
    ASSERT_TRUE(first && again && other);
    EXPECT_EQ(first->bytes, again->bytes);
    EXPECT_NE(first->bytes, other->bytes);

    ASSERT_EQ(first->bytes.size(), static_cast<std::size_t>(recordsPerCollection * recordBytes));
    ASSERT_EQ(first->puzzles.size(), static_cast<std::size_t>(recordsPerCollection));
    for (int n = 0; n < recordsPerCollection; ++n) {
        const MadePuzzle& made = first->puzzles[static_cast<std::size_t>(n)];
        EXPECT_EQ(puzzleInRecord(first->bytes, n), made.puzzle);
        EXPECT_EQ(givenCount(made.puzzle), made.givens);
        EXPECT_EQ(countSolutions(made.puzzle), 1);
        EXPECT_TRUE(isHalfTurnSymmetric(made.puzzle));
    }
    EXPECT_FALSE(puzzleInRecord(first->bytes, recordsPerCollection));
    EXPECT_FALSE(puzzleInRecord(std::vector<std::uint8_t>(100), 0));
}

class CollectionTool : public test::HeadlessGame {};

// The quick replay sifts candidates; it must agree with the game's own solve command both ways.
TEST_F(CollectionTool, ReplayAgreesWithTheGamesSolveCommand) {
    Rng rng(1618);
    int finished = 0, leftOpen = 0;
    for (int n = 0; n < 150 && (finished < 6 || leftOpen < 3); ++n) {
        Puzzle solution{};
        Puzzle puzzle = minimalPuzzle(rng, solution);
        bool replay = solveProcedureFinishes(puzzle);
        EXPECT_EQ(gameSolveCommandFinishes(puzzle), replay) << puzzleToText(puzzle);
        (replay ? finished : leftOpen) += 1;
    }
    EXPECT_GE(finished, 6);
    EXPECT_GE(leftOpen, 3);

    // A board whose givens clash is never reported as finished.
    Puzzle clash{};
    clash[0] = clash[1] = 3;
    EXPECT_FALSE(solveProcedureFinishes(clash));
    EXPECT_FALSE(gameSolveCommandFinishes(clash));
}

TEST_F(CollectionTool, WritesFilesWholeOrNotAtAll) {
    std::vector<std::uint8_t> bytes(8800, 7);
    std::filesystem::path target = work->path() / "leicht.nnr";
    test::writeBytes(target, std::vector<unsigned char>(10, 1));
    EXPECT_TRUE(writeFileWhole(target, bytes));
    EXPECT_EQ(test::readBytes(target), std::vector<unsigned char>(bytes.begin(), bytes.end()));

    std::filesystem::path nowhere = work->path() / "missing" / "leicht.nnr";
    EXPECT_FALSE(writeFileWhole(nowhere, bytes));
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    EXPECT_FALSE(std::filesystem::exists(work->path() / "leicht.nnr.part"));
}

}  // namespace
}  // namespace nonari::gen
