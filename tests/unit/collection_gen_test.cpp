// The collection generator: its grader's soundness, reproducible collections, the game's solve check and file writes.
// SPDX-License-Identifier: GPL-3.0-or-later
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

// Hard puzzles: the grader never places a wrong digit nor removes a solution digit, and the sample holds puzzles
// that the game's solve command, which sifts candidates, finishes and leaves open.
TEST_F(CollectionTool, OnHardPuzzlesTheGraderStaysSoundAndTheGameFinishesSomeButNotAll) {
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
        (gameSolveCommandFinishes(puzzle) ? finished : leftOpen) += 1;
    }
    // The sample must reach past the singles and both ways, or it proves little.
    EXPECT_TRUE(seen.count(Technique::LockedCandidates));
    EXPECT_GE(std::ranges::count_if(seen, [](Technique t) { return t >= Technique::XWing; }), 2);
    EXPECT_TRUE(finished >= 6 && leftOpen >= 3) << finished << " " << leftOpen;
    // Nothing to go on, two solutions, clashing givens: sound logic finishes none of them, nor does the game.
    Puzzle open = *puzzleFromText("365781429941326875728549613279658134514237968683194752856412397437965281192873546");
    for (int i : {10, 13, 19, 22}) open[std::size_t(i)] = 0;  // rows 1 and 2 swap their digits in columns 1 and 4
    ASSERT_EQ(countSolutions(open), 2);
    Puzzle clash{};
    clash[0] = clash[1] = 3;
    for (const Puzzle& p : {Puzzle{}, open, clash}) {
        const Grade none = gradePuzzle(p);
        EXPECT_TRUE(!none.solved && none.hardest == Technique::Beyond);
    }
    EXPECT_FALSE(gameSolveCommandFinishes(clash));
}

}  // namespace
}  // namespace nonari::gen
