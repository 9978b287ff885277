// The five shipped puzzle collections: one solution each, symmetry, givens, grades, the game's solve command.
#include "files/board_record.h"
#include "logic/solver.h"
#include "tests/support/test_support.h"
#include "tools/collection_gen/grader.h"

#include <algorithm>

namespace nonari {
namespace {

using ShippedCollections = test::HeadlessGame;

TEST_F(ShippedCollections, EveryRecordIsAFreshUniquePuzzleOfItsLevelThatTheGameSolves) {
    using T = gen::Technique;
    // Per level: the techniques that must not finish a puzzle (None: no lower bound) and those that must (Beyond:
    // no upper bound). Leicht singles, Mittel hidden singles, Schwer locked candidates or pairs, Extrem triples,
    // fish or wings, Teuflisch chains or harder.
    const std::pair<T, T> bands[] = {{T::None, T::HiddenSingle}, {T::NakedSingle, T::HiddenSingle},
        {T::HiddenSingle, T::HiddenPair}, {T::HiddenPair, T::Swordfish}, {T::Swordfish, T::Beyond}};
    for (int level = 0; level < 5; ++level) {
        const auto file = test::readBytes(test::sourceDir() / "data" / collectionFile(level));
        ASSERT_EQ(file.size(), std::size_t(4 * boardRecordSize)) << collectionFile(level);
        test::writeBytes(collectionFile(level), file);  // where the game's own reader finds it first
        game.dialog.currentFile = collectionFile(level);
        for (int n = 0; n < 4; ++n) {
            SCOPED_TRACE(collectionFile(level) + " record " + std::to_string(n));
            // A fresh puzzle: board and givens alike, no notes.
            const auto record = file.begin() + n * boardRecordSize;
            EXPECT_TRUE(std::equal(record, record + 100, record + 100));
            EXPECT_TRUE(std::all_of(record + 200, record + 1200, [](int b) { return b == 0; }));
            ASSERT_EQ(readBoardRecord(static_cast<std::int16_t>(n)), FileResult::Ok);
            const Grid givens = game.puzzle.givens;
            Grid solution;
            ASSERT_EQ(test::countSolutions(givens, 2, &solution), 1);
            gen::Puzzle asPuzzle{};
            for (int r = 1; r <= 9; ++r)
                for (int c = 1; c <= 9; ++c) {
                    asPuzzle[std::size_t(gen::cellAt(c, r))] = givens(c, r);
                    // Teuflisch is shuffled freely and need not be half-turn symmetric.
                    EXPECT_TRUE(level == 4 || (givens(c, r) != 0) == (givens(10 - c, 10 - r) != 0)) << c << r;
                }
            const auto [tooWeak, enough] = bands[level];
            EXPECT_TRUE(tooWeak == T::None || !gen::gradePuzzle(asPuzzle, tooWeak).solved);
            EXPECT_TRUE(enough == T::Beyond || gen::gradePuzzle(asPuzzle, enough).solved);
            // "&Brett lösen" never leaves a shipped puzzle half done.
            Grid board = givens;
            CandidateGrid notes;
            SolverObserver unseen;
            EXPECT_TRUE(solveCommand(board, givens, notes, unseen));
            EXPECT_EQ(board, solution);
        }
    }
}

}  // namespace
}  // namespace nonari
