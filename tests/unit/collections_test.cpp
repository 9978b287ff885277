// The five shipped puzzle collections: layout, one solution each, symmetry, givens, grades, the game's solve command.
#include "files/board_record.h"
#include "logic/solver.h"
#include "screen/side_panels.h"
#include "tests/support/test_support.h"
#include "tools/collection_gen/grader.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace nonari {
namespace {

using Bytes = std::vector<unsigned char>;

// The 100-byte grid image at offset `at` of record n.
Grid gridIn(const Bytes& file, int n, int at) {
    Grid g;
    std::copy_n(file.begin() + n * boardRecordSize + at, 100, g.cell.begin());
    return g;
}

gen::Puzzle asPuzzle(const Grid& g) {
    gen::Puzzle p{};
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) p[std::size_t(gen::cellAt(c, r))] = g(c, r);
    return p;
}

using ShippedCollections = test::HeadlessGame;

TEST_F(ShippedCollections, EveryRecordIsAFreshUniquePuzzleOfItsLevelThatTheGameSolves) {
    using T = gen::Technique;
    // Per level: the techniques that must not finish a puzzle (None: no lower bound) and those that must (Beyond:
    // no upper bound). Leicht singles, Mittel hidden singles, Schwer locked candidates or pairs, Extrem triples,
    // fish or wings, Teuflisch chains or harder.
    const std::pair<T, T> bands[] = {{T::None, T::HiddenSingle}, {T::NakedSingle, T::HiddenSingle},
        {T::HiddenSingle, T::HiddenPair}, {T::HiddenPair, T::Swordfish}, {T::Swordfish, T::Beyond}};
    std::array<std::vector<int>, 5> counts;
    for (int level = 0; level < 5; ++level) {
        const Bytes file = test::readBytes(test::sourceDir() / "data" / collectionFile(level));
        ASSERT_EQ(file.size(), std::size_t(4 * boardRecordSize)) << collectionFile(level);
        test::writeBytes(collectionFile(level), file);  // where the game's own reader finds it first
        for (int n = 0; n < 4; ++n) {
            SCOPED_TRACE(collectionFile(level) + " record " + std::to_string(n));
            // A fresh puzzle: board and givens alike, nothing at index 0, no notes, filler digits 1..9.
            const Grid givens = gridIn(file, n, 100);
            EXPECT_EQ(gridIn(file, n, 0), givens);
            for (int i = 0; i < 10; ++i) EXPECT_TRUE(givens(0, i) == 0 && givens(i, 0) == 0) << i;
            const auto record = file.begin() + n * boardRecordSize;
            EXPECT_TRUE(std::all_of(record + 200, record + 1200, [](int b) { return b == 0; }));
            EXPECT_TRUE(std::all_of(record + 1200, record + 2200, [](int b) { return b >= 1 && b <= 9; }));
            Grid solution;
            ASSERT_EQ(test::countSolutions(givens, 2, &solution), 1);
            int given = 0, asymmetric = 0;  // cell c + 10 * r lies opposite 110 minus that
            for (std::size_t i = 11; i < 100; ++i) {
                given += givens.cell[i] != 0;
                asymmetric += (givens.cell[i] != 0) != (givens.cell[110 - i] != 0);
            }
            counts[std::size_t(level)].push_back(given);
            EXPECT_TRUE(asymmetric == 0 || level == 4);  // Teuflisch is shuffled freely and need not be symmetric
            const auto [tooWeak, enough] = bands[level];
            EXPECT_TRUE(tooWeak == T::None || !gen::gradePuzzle(asPuzzle(givens), tooWeak).solved);
            if (enough != T::Beyond) {
                const gen::Grade grade = gen::gradePuzzle(asPuzzle(givens), enough);
                EXPECT_TRUE(grade.solved && grade.result == asPuzzle(solution));
            }
            // "&Brett lösen" never leaves a shipped puzzle half done.
            game.currentFile = collectionFile(level);
            readBoardRecord(static_cast<std::int16_t>(n));
            EXPECT_EQ(game.givens, givens);
            solveCommand();
            EXPECT_EQ(std::tie(game.statusText, game.board, game.givens), std::make_tuple(statusSolved, solution, givens));
        }
    }
    // Fewer givens level by level; Teuflisch has fewer than any puzzle of the other levels.
    auto sum = [&counts](int level) { return std::accumulate(counts[level].begin(), counts[level].end(), 0); };
    for (int level = 1; level < 5; ++level) EXPECT_LT(sum(level), sum(level - 1)) << collectionFile(level);
    EXPECT_GE(std::ranges::min(counts[0]), 36);
    for (int level = 0; level < 4; ++level) EXPECT_LT(std::ranges::max(counts[4]), std::ranges::min(counts[level]));
}

}  // namespace
}  // namespace nonari
