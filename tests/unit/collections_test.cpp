// The five shipped puzzle collections: one solution each, symmetry, givens, grades, the game's solve command.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "tests/support/test_support.h"
#include "tools/collection_gen/game_check.h"
#include "tools/collection_gen/generator.h"
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
        game.dialog.currentFile = collectionFile(level);  // the game's reader finds the shipped file
        for (int n = 0; n < 4; ++n) {
            SCOPED_TRACE(collectionFile(level) + " record " + std::to_string(n));
            // A fresh puzzle: board and givens alike, no notes.
            const auto record = file.begin() + n * boardRecordSize;
            EXPECT_TRUE(std::equal(record, record + 100, record + 100));
            EXPECT_TRUE(std::all_of(record + 200, record + 1200, [](int b) { return b == 0; }));
            ASSERT_EQ(readBoardRecord(static_cast<std::int16_t>(n)), FileResult::Ok);
            EXPECT_EQ(test::countSolutions(game.puzzle.givens), 1);
            const gen::Puzzle puzzle = *gen::puzzleInRecord(file, n);
            // Teuflisch is shuffled freely and need not be half-turn symmetric.
            EXPECT_TRUE(level == 4 || gen::isHalfTurnSymmetric(puzzle));
            const auto [tooWeak, enough] = bands[level];
            EXPECT_TRUE(tooWeak == T::None || !gen::gradePuzzle(puzzle, tooWeak).solved);
            EXPECT_TRUE(enough == T::Beyond || gen::gradePuzzle(puzzle, enough).solved);
            EXPECT_TRUE(gen::gameSolveCommandFinishes(puzzle));  // "&Brett lösen" never leaves one half done
        }
    }
}

}  // namespace
}  // namespace nonari
