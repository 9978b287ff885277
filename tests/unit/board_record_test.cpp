// Board records: the byte layout, blank files, damaged and short files, collections and failed writes.
#include "files/board_record.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <numeric>
#include <set>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;
using Bytes = std::vector<unsigned char>;

constexpr std::size_t recordSize = boardRecordSize;

const Grid solution =
    test::gridFromText("123456789456789123789123456234567891567891234891234567345678912678912345912345678");

// Up to count bytes from offset from; fewer, or none, where the bytes end before.
Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    from = std::min(from, bytes.size());
    auto start = bytes.begin() + static_cast<std::ptrdiff_t>(from);
    return Bytes(start, start + static_cast<std::ptrdiff_t>(std::min(count, bytes.size() - from)));
}

// A record image: board and givens as given, no notes, no filler.
Bytes recordOf(const Grid& board, const Grid& givens) {
    Bytes record(recordSize, 0);
    std::copy(board.cell.begin(), board.cell.end(), record.begin());
    std::copy(givens.cell.begin(), givens.cell.end(), record.begin() + 100);
    return record;
}

// Record n of a file: all zero (blank) or the game's grids with every note as 0xFF, then 1000 filler digits 1..9.
void expectRecord(const Bytes& file, std::size_t n, bool blank) {
    SCOPED_TRACE((blank ? "blank record " : "game in record ") + std::to_string(n));
    Bytes expected = blank ? Bytes(recordSize, 0) : recordOf(game.board, game.givens);
    for (std::size_t i = 111; i < 1000 && !blank; ++i)  // cell c + 10 * r, digit i / 100; index 0 is none
        expected[200 + i] = game.candidates.mark[i] && i % 10 != 0 && i / 10 % 10 != 0 ? 0xFF : 0;
    EXPECT_EQ(slice(file, n * recordSize, 1200), slice(expected, 0, 1200));
    for (unsigned char b : slice(file, n * recordSize + 1200, 1000)) ASSERT_TRUE(b >= 1 && b <= 9) << int{b};
}

// A game with digits, givens and notes, and bytes at index 0 of the grids, which a record carries.
void fillGame() {
    game.board = solution;
    for (int c = 1; c <= 9; ++c) game.givens(c, 10 - c) = solution(c, 10 - c);
    game.board(3, 3) = 0;
    game.board(0, 0) = game.board(5, 0) = game.givens(0, 9) = 7;
    game.candidates.clear();
    game.candidates(3, 3, 2) = game.candidates(3, 3, 9) = game.candidates(0, 3, 4) = true;  // the last: no cell
    game.currentFile = savedBoardFile;
}

long entries(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), fs::directory_iterator()); }

using BoardRecordTest = test::HeadlessGame;

TEST_F(BoardRecordTest, WritingChangesOnlyTheChosenRecordOfFourAndStartsOtherLengthsBlank) {
    fillGame();
    struct Case { const char* file; std::size_t size; std::size_t record; };
    for (const Case& c : {Case{"longer", 10000, 3}, Case{"short", 5000, 0}, Case{"missing", 0, 2},
                          Case{"four records", 8800, 1}}) {
        SCOPED_TRACE(c.file);
        Bytes old(c.size);
        std::iota(old.begin(), old.end(), 0);
        fs::remove(savedBoardFile);
        if (c.size > 0) writeBytes(savedBoardFile, old);
        writeBoardRecord(static_cast<std::int16_t>(c.record));
        const Bytes file = readBytes(savedBoardFile);
        ASSERT_EQ(file.size(), std::max<std::size_t>(c.size, 8800));
        for (std::size_t n = 0; n < 4; ++n) {
            if (c.size == 8800 && n != c.record) {
                EXPECT_EQ(slice(file, n * recordSize, recordSize), slice(old, n * recordSize, recordSize)) << n;
            } else {
                expectRecord(file, n, n != c.record);
            }
        }
        EXPECT_EQ(slice(file, 8800, 1200), slice(old, 8800, 1200));  // what lies beyond four records stays
    }

    // The same board again: the same grids and notes, a new filler; records outside the four are not written.
    const Bytes before = readBytes(savedBoardFile);
    for (std::int16_t record : {1, 4, -1}) writeBoardRecord(record);
    const Bytes again = readBytes(savedBoardFile);
    EXPECT_EQ(slice(again, 0, 3400), slice(before, 0, 3400));
    EXPECT_NE(slice(again, 3400, 1000), slice(before, 3400, 1000));
    EXPECT_EQ(slice(again, 4400, 5000), slice(before, 4400, 5000));
}

TEST_F(BoardRecordTest, ReadingTakesTheGridsAndAnyNonZeroNoteOfACompleteUndamagedRecord) {
    fillGame();
    game.board(0, 4) = 200;  // index 0 is no cell: any byte there is carried, not judged
    const GameState filled = game;
    Bytes record = recordOf(filled.board, filled.givens);
    auto note = [&record](int c, int r, int d) -> unsigned char& { return record[200 + c + 10 * r + 100 * d]; };
    note(3, 3, 2) = 0x01;  // noted by an odd byte
    note(3, 3, 9) = 0xFF;
    note(0, 3, 4) = note(4, 4, 0) = 0xFF;  // index 0: no cell, no digit
    resetGameState();
    game.candidates(7, 7, 7) = true;
    game.currentFile = savedBoardFile;
    const GameState empty = game;
    auto expectNothingRead = [&empty](const char* what, std::int16_t record = 0) {
        game.clockRunning = true;
        readBoardRecord(record);
        EXPECT_FALSE(game.clockRunning) << what;
        EXPECT_EQ(std::tie(game.board, game.givens, game.candidates),
                  std::tie(empty.board, empty.givens, empty.candidates))
            << what;
    };
    expectNothingRead("missing file");
    writeBytes(savedBoardFile, slice(record, 0, recordSize - 1));
    expectNothingRead("a record lacking its last byte");
    expectNothingRead("a record far beyond the end", 9);
    for (std::size_t offset : {5 + 10 * 5, 100 + 9 + 10 * 9}) {
        Bytes damaged = record;
        damaged[offset] = 10;
        writeBytes(savedBoardFile, damaged);
        expectNothingRead(offset < 100 ? "board byte above 9" : "given byte above 9");
    }
    writeBytes(savedBoardFile, record);
    readBoardRecord(0);
    EXPECT_EQ(game.board, filled.board);
    EXPECT_EQ(game.givens, filled.givens);
    CandidateGrid expected;
    expected(3, 3, 2) = expected(3, 3, 9) = true;
    EXPECT_EQ(game.candidates, expected);
    // Written back, every note is 0xFF and the index-0 bytes travel along.
    writeBoardRecord(0);
    expectRecord(readBytes(savedBoardFile), 0, false);
}

TEST_F(BoardRecordTest, CollectionsAreFoundBesideTheProgramAndSavesStayInTheWorkingFolder) {
    // A data folder named by the environment holds "extrem.nnr", four puzzles each with its own empty cell, and a
    // "brett.nnr" never to be taken for the player's.
    const fs::path data = work->path() / "data";
    fs::create_directory(data);
    Bytes collection;
    for (int n = 1; n <= 4; ++n) {
        Grid puzzle = solution;
        puzzle(n, 1) = 0;
        const Bytes record = recordOf(puzzle, puzzle);
        collection.insert(collection.end(), record.begin(), record.end());
    }
    writeBytes(data / "extrem.nnr", collection);
    writeBytes(data / savedBoardFile, collection);
    setenv("NONARI_DATA_DIR", data.c_str(), 1);
    EXPECT_EQ(locateBoardFile(savedBoardFile), savedBoardFile);
    game.difficulty = 3;
    std::set<int> drawn;
    for (int round = 0; round < 40; ++round) {
        loadNewGamePuzzle();
        for (int c = 1; c <= 4; ++c)
            if (game.givens(c, 1) == 0) drawn.insert(c);
    }
    EXPECT_EQ(drawn, (std::set<int>{1, 2, 3, 4}));  // every record gets drawn
    EXPECT_EQ(game.currentFile, "extrem.nnr");
    EXPECT_EQ(game.board, game.givens);
    // A copy in the working folder comes first.
    writeBytes("extrem.nnr", Bytes(8800, 0));
    loadNewGamePuzzle();
    EXPECT_EQ(game.board, Grid{});
    unsetenv("NONARI_DATA_DIR");

    // Saving never reaches into another folder.
    const Bytes outside = readBytes("../brett.nnr");
    for (const char* name : {"data/extrem.nnr", "../brett.nnr", "/tmp/brett.nnr", ".", ""}) {
        game.currentFile = name;
        writeBoardRecord(0);
    }
    EXPECT_EQ(readBytes(data / "extrem.nnr"), collection);
    EXPECT_EQ(readBytes("../brett.nnr"), outside);
    EXPECT_EQ(entries("."), 2);  // data and extrem.nnr
}

TEST_F(BoardRecordTest, FailedWriteLeavesTheOldFileByteForByte) {
    Bytes old(8800);
    std::iota(old.begin(), old.end(), 0);
    writeBytes(savedBoardFile, old);
    fillGame();
    // The disk fills half way (a failure of any other kind is one of the file replacement's).
    EXPECT_TRUE(test::inChildProcess([] {
        test::limitFileSize(3000);
        writeBoardRecord(1);
        return true;
    }));
    EXPECT_EQ(readBytes(savedBoardFile), old);
    EXPECT_EQ(entries("."), 1);
}

}  // namespace
}  // namespace nonari
