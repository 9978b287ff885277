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

constexpr int recordsShipped = 4;

std::vector<unsigned char> shippedFile(int difficulty) {
    return test::readBytes(test::sourceDir() / "data" / collectionFile(difficulty));
}

// Digits row by row, as the record's givens image holds them at column + 10 * row.
using Cells = std::array<int, 81>;

Cells givensOf(const std::vector<unsigned char>& file, int record) {
    Cells cells{};
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c)
            cells[static_cast<std::size_t>(9 * (r - 1) + c - 1)] =
                file[static_cast<std::size_t>(record * boardRecordSize + 100 + c + 10 * r)];
    return cells;
}

bool fitsAt(const Cells& g, int i, int d) {
    int r = i / 9, c = i % 9;
    for (int k = 0; k < 9; ++k) {
        if (g[static_cast<std::size_t>(9 * r + k)] == d || g[static_cast<std::size_t>(9 * k + c)] == d) return false;
        int br = r / 3 * 3 + k / 3, bc = c / 3 * 3 + k % 3;
        if (g[static_cast<std::size_t>(9 * br + bc)] == d) return false;
    }
    return true;
}

// The tests' own search: fills the empty cell with the fewest options, stops after `limit` solutions.
void search(Cells& g, int limit, int& found, Cells& first) {
    int best = -1, bestCount = 10;
    for (int i = 0; i < 81; ++i) {
        if (g[static_cast<std::size_t>(i)] != 0) continue;
        int count = 0;
        for (int d = 1; d <= 9; ++d) count += fitsAt(g, i, d) ? 1 : 0;
        if (count < bestCount) best = i, bestCount = count;
    }
    if (best < 0) {
        if (found++ == 0) first = g;
        return;
    }
    for (int d = 1; d <= 9 && found < limit; ++d) {
        if (!fitsAt(g, best, d)) continue;
        g[static_cast<std::size_t>(best)] = d;
        search(g, limit, found, first);
        g[static_cast<std::size_t>(best)] = 0;
    }
}

bool givensConsistent(const Cells& g) {
    for (int i = 0; i < 81; ++i) {
        int d = g[static_cast<std::size_t>(i)];
        if (d == 0) continue;
        Cells without = g;
        without[static_cast<std::size_t>(i)] = 0;
        if (!fitsAt(without, i, d)) return false;
    }
    return true;
}

// Number of solutions (0, 1 or 2 meaning "more than one") and the first one found.
int solutions(const Cells& givens, Cells& solution) {
    if (!givensConsistent(givens)) return 0;
    Cells g = givens;
    int found = 0;
    search(g, 2, found, solution);
    return found;
}

int givenCount(const Cells& g) {
    return static_cast<int>(std::count_if(g.begin(), g.end(), [](int d) { return d != 0; }));
}

gen::Puzzle asPuzzle(const Cells& g) {
    gen::Puzzle p{};
    for (std::size_t i = 0; i < 81; ++i) p[i] = static_cast<std::uint8_t>(g[i]);
    return p;
}

TEST(ShippedCollections, EveryRecordIsAFreshPuzzleWithOneSolution) {
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        SCOPED_TRACE(collectionFile(difficulty));
        std::vector<unsigned char> file = shippedFile(difficulty);
        ASSERT_EQ(file.size(), static_cast<std::size_t>(recordsShipped * boardRecordSize));
        for (int record = 0; record < recordsShipped; ++record) {
            SCOPED_TRACE(record);
            auto byte = [&](int offset) { return file[static_cast<std::size_t>(record * boardRecordSize + offset)]; };
            for (int i = 0; i < 100; ++i) {
                EXPECT_EQ(byte(i), byte(100 + i)) << "board and givens differ at " << i;
                EXPECT_LE(byte(i), 9);
                if (i % 10 == 0 || i < 10) {
                    EXPECT_EQ(byte(i), 0) << "index-0 byte " << i;
                }
            }
            for (int i = 200; i < 1200; ++i) EXPECT_EQ(byte(i), 0) << "note byte " << i;
            for (int i = 1200; i < boardRecordSize; ++i) {
                EXPECT_GE(byte(i), 1);
                EXPECT_LE(byte(i), 9);
            }
            Cells solution{};
            EXPECT_EQ(solutions(givensOf(file, record), solution), 1);
        }
    }
}

TEST(ShippedCollections, SymmetryAndGivenCountsFollowTheLevels) {
    std::array<std::vector<int>, 5> counts;
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        std::vector<unsigned char> file = shippedFile(difficulty);
        ASSERT_EQ(file.size(), static_cast<std::size_t>(recordsShipped * boardRecordSize));
        for (int record = 0; record < recordsShipped; ++record) {
            Cells g = givensOf(file, record);
            counts[static_cast<std::size_t>(difficulty)].push_back(givenCount(g));
            if (difficulty == 4) continue;  // Teuflisch is shuffled freely and need not be symmetric
            for (int i = 0; i < 81; ++i)
                EXPECT_EQ(g[static_cast<std::size_t>(i)] != 0, g[static_cast<std::size_t>(80 - i)] != 0)
                    << collectionFile(difficulty) << " record " << record << " cell " << i;
        }
    }
    auto mean = [](const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0.0) / v.size(); };
    for (int d = 1; d < 5; ++d)
        EXPECT_LT(mean(counts[static_cast<std::size_t>(d)]), mean(counts[static_cast<std::size_t>(d - 1)]))
            << collectionFile(d);
    EXPECT_GE(*std::min_element(counts[0].begin(), counts[0].end()), 36);
    int fewestOutsideTeuflisch = 81;
    for (int d = 0; d < 4; ++d)
        for (int n : counts[static_cast<std::size_t>(d)]) fewestOutsideTeuflisch = std::min(fewestOutsideTeuflisch, n);
    EXPECT_LT(*std::max_element(counts[4].begin(), counts[4].end()), fewestOutsideTeuflisch);
}

// Per level: the technique set that must not finish the puzzle, and the one that must.
struct Band {
    gen::Technique tooWeak;  // None: no lower bound
    gen::Technique enough;   // Beyond: no upper bound
};

TEST(ShippedCollections, GradesRiseWithTheLevel) {
    using T = gen::Technique;
    const std::array<Band, 5> bands{{
        {T::None, T::HiddenSingle},          // Leicht: singles
        {T::NakedSingle, T::HiddenSingle},   // Mittel: needs hidden singles, nothing more
        {T::HiddenSingle, T::HiddenPair},    // Schwer: locked candidates or pairs
        {T::HiddenPair, T::Swordfish},       // Extrem: triples, fish or wings
        {T::Swordfish, T::Beyond},           // Teuflisch: chains or harder
    }};
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        std::vector<unsigned char> file = shippedFile(difficulty);
        ASSERT_EQ(file.size(), static_cast<std::size_t>(recordsShipped * boardRecordSize));
        const Band& band = bands[static_cast<std::size_t>(difficulty)];
        for (int record = 0; record < recordsShipped; ++record) {
            SCOPED_TRACE(collectionFile(difficulty) + " record " + std::to_string(record));
            Cells g = givensOf(file, record);
            gen::Puzzle puzzle = asPuzzle(g);
            if (band.tooWeak != T::None) {
                EXPECT_FALSE(gen::gradePuzzle(puzzle, band.tooWeak).solved);
            }
            if (band.enough != T::Beyond) {
                gen::Grade grade = gen::gradePuzzle(puzzle, band.enough);
                EXPECT_TRUE(grade.solved);
                Cells solution{};
                ASSERT_EQ(solutions(g, solution), 1);
                EXPECT_EQ(grade.result, asPuzzle(solution));
            }
        }
    }
}

class ShippedGame : public test::HeadlessGame {};

// "&Brett lösen" must never leave a shipped puzzle half done: each record, read by the game's own reader,
// ends solved with the tests' own solution and untouched givens.
TEST_F(ShippedGame, SolveCommandFinishesEveryRecord) {
    for (int difficulty = 0; difficulty < 5; ++difficulty) {
        std::vector<unsigned char> file = shippedFile(difficulty);
        ASSERT_EQ(file.size(), static_cast<std::size_t>(recordsShipped * boardRecordSize));
        test::writeBytes(work->path() / collectionFile(difficulty), file);
        for (int record = 0; record < recordsShipped; ++record) {
            SCOPED_TRACE(collectionFile(difficulty) + " record " + std::to_string(record));
            Cells g = givensOf(file, record);
            Cells solution{};
            ASSERT_EQ(solutions(g, solution), 1);

            game.board.clear();
            game.givens.clear();
            game.currentFile = collectionFile(difficulty);
            readBoardRecord(static_cast<std::int16_t>(record));
            const Grid givens = game.givens;
            EXPECT_EQ(game.board, givens);
            solveCommand();
            EXPECT_EQ(game.statusText, statusSolved);
            EXPECT_EQ(game.givens, givens);
            for (int r = 1; r <= 9; ++r)
                for (int c = 1; c <= 9; ++c) {
                    EXPECT_EQ(game.givens(c, r), g[static_cast<std::size_t>(9 * (r - 1) + c - 1)]);
                    EXPECT_EQ(game.board(c, r), solution[static_cast<std::size_t>(9 * (r - 1) + c - 1)])
                        << "column " << c << ", row " << r;
                }
        }
    }
}

}  // namespace
}  // namespace nonari
