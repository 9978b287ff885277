// The collection generator: its technique grader, reproducible collections, the solve replay and file writes.
#include "tools/collection_gen/game_check.h"
#include "tools/collection_gen/generator.h"
#include "tools/collection_gen/grader.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <utility>

namespace nonari::gen {
namespace {

using Removals = std::set<std::pair<int, int>>;  // (cell, digit)

int cell(int row, int column) { return 9 * row + column; }  // 0-based, for the patterns below

// A board without placed digits where every cell may still hold every digit but those taken away.
struct OpenBoard {
    CandidateState s;
    OpenBoard() { s.candidates.fill(allDigits); }
    void remove(int row, int column, int d) { s.candidates[std::size_t(cell(row, column))] &= DigitMask(~(1u << d)); }
    void keepOnly(int row, int column, int d1, int d2) {
        s.candidates[std::size_t(cell(row, column))] = DigitMask(1u << d1 | 1u << d2);
    }
};

// Checks that `expected` is the easiest technique that applies, applies it until it finds nothing more and returns
// everything it removed.
Removals exhaust(const OpenBoard& board, Technique expected) {
    CandidateState s = board.s;
    EXPECT_EQ(applyEasiest(s, Technique::AlternatingChain), expected) << techniqueName(expected);
    s = board.s;
    for (int steps = 0; steps < 50 && applyTechnique(expected, s); ++steps) continue;
    Removals removed;
    for (std::size_t c = 0; c < 81; ++c) {
        EXPECT_EQ(s.candidates[c] & ~board.s.candidates[c], 0) << "a candidate reappeared in cell " << c;
        for (int d = 1; d <= 9; ++d)
            if ((board.s.candidates[c] & ~s.candidates[c]) >> d & 1u) removed.insert({int(c), d});
    }
    return removed;
}

TEST(Grader, PatternsLoseExactlyWhatTheyForbidAndWholePuzzlesEndRightOrBeyond) {
    {  // Intersection: in the top-left box a 4 can only be in row 0, so the rest of row 0 loses it.
        OpenBoard b;
        Removals expected;
        for (int i = 3; i < 9; ++i) b.remove(i / 3, i % 3, 4), expected.insert({cell(0, i), 4});
        EXPECT_EQ(exhaust(b, Technique::LockedCandidates), expected);
    }
    {  // Subset: naked pair {1,2} in row 0 inside the top-left box; the row and the box lose 1 and 2.
        OpenBoard b;
        b.keepOnly(0, 0, 1, 2), b.keepOnly(0, 1, 1, 2);
        Removals expected;
        for (int d : {1, 2})
            for (int i = 2; i < 27; ++i)
                if (i < 9 || i % 9 < 3) expected.insert({i, d});
        EXPECT_EQ(exhaust(b, Technique::NakedPair), expected);
    }
    {  // Fish: rows 1 and 6 hold their 5 only in columns 2 and 7; those columns lose 5 in every other row.
        OpenBoard b;
        Removals expected;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c) {
                const bool fishRow = r == 1 || r == 6, fishColumn = c == 2 || c == 7;
                if (fishRow && !fishColumn) b.remove(r, c, 5);
                if (fishColumn && !fishRow) expected.insert({cell(r, c), 5});
            }
        EXPECT_EQ(exhaust(b, Technique::XWing), expected);
    }
    {  // Wing: pivot {1,2} with pincers {1,3} in its row and {2,3} in its column; the cell seeing both loses 3.
        OpenBoard b;
        b.keepOnly(0, 0, 1, 2), b.keepOnly(0, 5, 1, 3), b.keepOnly(5, 0, 2, 3);
        EXPECT_EQ(exhaust(b, Technique::XYWing), (Removals{{cell(5, 5), 3}}));
    }
    {  // Chain mixing cell and unit links: r0c0 {1,2}, the only two 2s of row 4 in columns 0 and 6, and r8c6
       // {1,2}. Either r0c0 or r8c6 is 1, so the two cells seeing both lose it.
        OpenBoard b;
        b.keepOnly(0, 0, 1, 2), b.keepOnly(8, 6, 1, 2);
        for (int c = 1; c < 9; ++c)
            if (c != 6) b.remove(4, c, 2);
        EXPECT_EQ(exhaust(b, Technique::AlternatingChain), (Removals{{cell(0, 6), 1}, {cell(8, 0), 1}}));
    }
    // Nothing to go on, two solutions (rows 1 and 2 swap their digits between columns 1 and 4), clashing givens:
    // sound logic finishes none of them.
    Puzzle open = *puzzleFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");
    for (int i : {cell(1, 1), cell(1, 4), cell(2, 1), cell(2, 4)}) open[std::size_t(i)] = 0;
    ASSERT_EQ(countSolutions(open), 2);
    Puzzle clash{};
    clash[0] = clash[1] = 5;
    for (const Puzzle& p : {Puzzle{}, open, clash}) {
        const Grade none = gradePuzzle(p);
        EXPECT_TRUE(!none.solved && none.hardest == Technique::Beyond);
    }
}

// A puzzle dug out of a random grid until no further given can go without losing uniqueness.
Puzzle minimalPuzzle(Rng& rng, Puzzle& solution) {
    solution = randomSolutionGrid(rng);
    Puzzle p = solution;
    std::array<int, 81> order{};
    std::iota(order.begin(), order.end(), 0);
    rng.shuffle(order);
    for (int c : order) {
        const std::uint8_t kept = std::exchange(p[std::size_t(c)], std::uint8_t{0});
        if (countSolutions(p) != 1) p[std::size_t(c)] = kept;
    }
    return p;
}

class CollectionTool : public test::HeadlessGame {};

TEST_F(CollectionTool, SameSeedGivesTheSameBytesWrittenWholeOrNotAtAll) {
    const auto first = makeCollection(0, 314), again = makeCollection(0, 314), other = makeCollection(0, 315);
    ASSERT_TRUE(first && again && other);
    EXPECT_EQ(first->bytes, again->bytes);
    EXPECT_NE(first->bytes, other->bytes);
    ASSERT_EQ(std::make_pair(first->bytes.size(), first->puzzles.size()), std::make_pair(8800ul, 4ul));
    for (int n = 0; n < 4; ++n) {
        const Puzzle& made = first->puzzles[std::size_t(n)].puzzle;
        EXPECT_TRUE(puzzleInRecord(first->bytes, n) == made && countSolutions(made) == 1 && isHalfTurnSymmetric(made));
    }
    EXPECT_FALSE(puzzleInRecord(first->bytes, 4));

    test::writeBytes("leicht.nnr", std::vector<unsigned char>(10, 1));
    EXPECT_TRUE(writeFileWhole("leicht.nnr", first->bytes));
    EXPECT_EQ(test::readBytes("leicht.nnr"), first->bytes);
    EXPECT_FALSE(writeFileWhole("missing/leicht.nnr", first->bytes));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1);
}

// Hard puzzles: the grader never places a wrong digit nor removes a solution digit, and the quick replay that sifts
// candidates agrees with the game's own solve command both ways.
TEST_F(CollectionTool, OnHardPuzzlesTheGraderStaysSoundAndTheReplayAgreesWithTheGame) {
    Rng rng(2718);
    std::set<Technique> seen;
    int finished = 0, leftOpen = 0;
    for (int n = 0; n < 60; ++n) {
        Puzzle solution{};
        const Puzzle puzzle = minimalPuzzle(rng, solution);
        CandidateState s = candidateStateOf(puzzle);
        while (!isSolved(s)) {
            const Technique used = applyEasiest(s, Technique::AlternatingChain);
            if (used == Technique::None) break;
            seen.insert(used);
            for (std::size_t i = 0; i < 81; ++i)
                ASSERT_TRUE(s.value[i] == 0 ? (s.candidates[i] >> solution[i]) & 1u : s.value[i] == solution[i])
                    << techniqueName(used) << " lost the solution in cell " << i;
        }
        const bool replay = solveProcedureFinishes(puzzle);
        EXPECT_EQ(gameSolveCommandFinishes(puzzle), replay) << puzzleToText(puzzle);
        (replay ? finished : leftOpen) += 1;
    }
    // The sample must reach past the singles and both ways, or it proves little.
    EXPECT_TRUE(seen.count(Technique::LockedCandidates));
    EXPECT_GE(std::ranges::count_if(seen, [](Technique t) { return t >= Technique::XWing; }), 2);
    EXPECT_TRUE(finished >= 6 && leftOpen >= 3) << finished << " " << leftOpen;
    // A board whose givens clash is never reported as finished.
    Puzzle clash{};
    clash[0] = clash[1] = 3;
    EXPECT_FALSE(solveProcedureFinishes(clash) || gameSolveCommandFinishes(clash));
}

}  // namespace
}  // namespace nonari::gen
