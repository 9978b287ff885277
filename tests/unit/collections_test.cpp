// The five shipped puzzle collections: one solution each, symmetry, givens, grades, the game's solve command.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "tests/support/test_support.h"
#include "logic/levels.h"

#include <algorithm>

namespace nonari {
namespace {

using ShippedCollections = test::HeadlessGame;

TEST_F(ShippedCollections, EveryRecordIsAFreshUniquePuzzleOfItsLevelThatTheGameSolves) {
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
            // Its level by techniques, its given count and symmetry; Teuflisch also finished by "&Brett lösen".
            EXPECT_TRUE(fitsLevel(puzzleOf(game.puzzle.givens), level));
        }
    }
}

}  // namespace
}  // namespace nonari
