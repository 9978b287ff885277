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

const Grid solution =
    test::gridFromText("123456789456789123789123456234567891567891234891234567345678912678912345912345678");

// Up to count bytes from offset from; fewer, or none, where the bytes end before.
Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    from = std::min(from, bytes.size());
    auto start = bytes.begin() + static_cast<std::ptrdiff_t>(from);
    return Bytes(start, start + static_cast<std::ptrdiff_t>(std::min(count, bytes.size() - from)));
}

// A record image without its filler: the game's grids and every note as 0xFF.
Bytes recordOf() {
    Bytes record(1200, 0);
    std::copy(game.board.cell.begin(), game.board.cell.end(), record.begin());
    std::copy(game.givens.cell.begin(), game.givens.cell.end(), record.begin() + 100);
    for (std::size_t i = 111; i < 1000; ++i)  // cell c + 10 * r, digit i / 100; index 0 is none
        record[200 + i] = game.candidates.mark[i] && i % 10 != 0 && i / 10 % 10 != 0 ? 0xFF : 0;
    return record;
}

// Record n of a file: blank (all zero) or the game's, then 1000 filler digits 1..9.
void expectRecord(const Bytes& file, std::size_t n, bool blank) {
    EXPECT_EQ(slice(file, n * boardRecordSize, 1200), blank ? Bytes(1200, 0) : recordOf()) << n;
    for (unsigned char b : slice(file, n * boardRecordSize + 1200, 1000)) ASSERT_TRUE(b >= 1 && b <= 9) << int{b};
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
    for (auto [size, record] : {std::pair<std::size_t, std::int16_t>{10000, 3}, {5000, 0}, {0, 2}, {8800, 1}}) {
        SCOPED_TRACE(size);
        Bytes old(size);
        std::iota(old.begin(), old.end(), 0);
        fs::remove(savedBoardFile);
        if (size > 0) writeBytes(savedBoardFile, old);
        writeBoardRecord(record);
        const Bytes file = readBytes(savedBoardFile);
        ASSERT_EQ(file.size(), std::max<std::size_t>(size, 8800));
        for (std::size_t n = 0; n < 4; ++n) {
            if (size == 8800 && n != std::size_t(record)) {
                EXPECT_EQ(slice(file, n * boardRecordSize, boardRecordSize), slice(old, n * boardRecordSize, 2200));
            } else {
                expectRecord(file, n, n != std::size_t(record));
            }
        }
        EXPECT_EQ(slice(file, 8800, 1200), slice(old, 8800, 1200));  // what lies beyond four records stays
    }

    // Records outside the four are not written; a disk that fills half way leaves the old file (a failure of any
    // other kind is one of the file replacement's).
    const Bytes before = readBytes(savedBoardFile);
    for (std::int16_t record : {4, -1}) writeBoardRecord(record);
    EXPECT_TRUE(test::inChildProcess([] {
        test::limitFileSize(3000);
        writeBoardRecord(2);
        return true;
    }));
    EXPECT_EQ(readBytes(savedBoardFile), before);
    EXPECT_EQ(entries("."), 1);
}

TEST_F(BoardRecordTest, ReadingTakesTheGridsAndAnyNonZeroNoteOfACompleteUndamagedRecord) {
    fillGame();
    game.board(0, 4) = 200;  // index 0 is no cell: any byte there is carried, not judged
    game.candidates.clear();
    Bytes record = recordOf();
    record.resize(boardRecordSize, 5);
    // Note bytes at 200 + c + 10 * r + 100 * d: (3, 3) notes 2 by an odd byte and 9; no cell, no digit.
    record[200 + 33 + 200] = 0x01;
    record[200 + 33 + 900] = record[200 + 30 + 400] = record[200 + 44] = 0xFF;
    const GameState filled = game;
    resetGameState();
    game.candidates(7, 7, 7) = true;
    game.currentFile = savedBoardFile;
    const GameState empty = game;
    auto withByte = [&record](std::size_t at) { Bytes b = record; b[at] = 10; return b; };
    const std::pair<const char*, Bytes> unusable[] = {{"missing", {}}, {"short", slice(record, 0, 2199)},
        {"far beyond the end", record}, {"board byte 10", withByte(55)}, {"given byte 10", withByte(199)}};
    for (const auto& [what, bytes] : unusable) {
        if (!bytes.empty()) writeBytes(savedBoardFile, bytes);
        game.clockRunning = true;
        readBoardRecord(bytes == record ? 9 : 0);
        EXPECT_FALSE(game.clockRunning) << what;
        EXPECT_EQ(std::tie(game.board, game.givens, game.candidates),
                  std::tie(empty.board, empty.givens, empty.candidates)) << what;
    }
    writeBytes(savedBoardFile, record);
    readBoardRecord(0);
    CandidateGrid notes;
    notes(3, 3, 2) = notes(3, 3, 9) = true;
    EXPECT_EQ(std::tie(game.board, game.givens, game.candidates), std::tie(filled.board, filled.givens, notes));
    // Written back, every note is 0xFF and the index-0 bytes travel along.
    writeBoardRecord(0);
    expectRecord(readBytes(savedBoardFile), 0, false);
}

TEST_F(BoardRecordTest, CollectionsAreFoundBesideTheProgramAndSavesStayInTheWorkingFolder) {
    // A data folder named by the environment holds "extrem.nnr", four records told apart by the cell of their 9,
    // and a "brett.nnr" never to be taken for the player's.
    const fs::path data = work->path() / "data";
    fs::create_directory(data);
    Bytes collection(8800, 0);
    for (std::size_t n = 0; n < 4; ++n) collection[n * 2200 + 11 + n] = collection[n * 2200 + 111 + n] = 9;
    writeBytes(data / "extrem.nnr", collection);
    writeBytes(data / savedBoardFile, collection);
    setenv("NONARI_DATA_DIR", data.c_str(), 1);
    EXPECT_EQ(locateBoardFile(savedBoardFile), savedBoardFile);
    game.difficulty = 3;
    std::set<int> drawn;
    for (int round = 0; round < 40; ++round) {
        game.givens.clear();
        loadNewGamePuzzle();
        for (int c = 1; c <= 4; ++c)
            if (game.givens(c, 1) == 9 && game.board == game.givens) drawn.insert(c);
    }
    EXPECT_EQ(drawn, (std::set<int>{1, 2, 3, 4}));  // every record gets drawn
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

}  // namespace
}  // namespace nonari
