// Board records: the byte layout, missing, damaged and short files, a link, and names outside the working folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"

#include "tests/support/test_support.h"

#include <algorithm>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;
using Bytes = std::vector<unsigned char>;

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(from);
    return Bytes(start, start + static_cast<std::ptrdiff_t>(count));
}

auto grids(const GameState& g) { return std::tie(g.puzzle.board, g.puzzle.givens, g.puzzle.candidates); }

// A record image without its filler: the game's grids and every note as 0xFF.
Bytes recordOf() {
    Bytes record(1200, 0);
    std::copy(game.puzzle.board.cell.begin(), game.puzzle.board.cell.end(), record.begin());
    std::copy(game.puzzle.givens.cell.begin(), game.puzzle.givens.cell.end(), record.begin() + 100);
    for (std::size_t i = 111; i < 1000; ++i)  // cell c + 10 * r, digit i / 100; index 0 is none
        record[200 + i] = game.puzzle.candidates.mark[i] && i % 10 != 0 && i / 10 % 10 != 0 ? 0xFF : 0;
    return record;
}

// Record n of a file: blank (all zero) or the game's, then 1000 filler digits 1..9.
void expectRecord(const Bytes& file, std::size_t n, bool blank) {
    EXPECT_EQ(slice(file, n * boardRecordSize, 1200), blank ? Bytes(1200, 0) : recordOf()) << n;
    for (unsigned char b : slice(file, n * boardRecordSize + 1200, 1000)) ASSERT_TRUE(b >= 1 && b <= 9) << int{b};
}

// A game with digits, givens and notes.
void fillGame() {
    for (int c = 1; c <= 9; ++c) game.puzzle.board(c, c) = game.puzzle.givens(c, 10 - c) = static_cast<std::uint8_t>(c);
    game.puzzle.candidates(3, 3, 2) = game.puzzle.candidates(3, 3, 9) = game.puzzle.candidates(4, 5, 1) = true;
    game.dialog.currentFile = savedBoardFile;
}

using BoardRecordTest = test::HeadlessGame;

TEST_F(BoardRecordTest, NothingIsWrittenOutsideTheFourRecordsOrTheWorkingFolder) {
    fillGame();
    const Bytes old(boardRecordSize, 1);
    writeBytes(savedBoardFile, old);
    for (std::int16_t record : {4, -1}) EXPECT_EQ(writeBoardRecord(record), FileResult::NotWritten) << record;
    EXPECT_EQ(readBytes(savedBoardFile), old);
    fs::create_directory("data");
    writeBytes("data/extrem.nnr", old);
    const Bytes outside = readBytes("../brett.nnr");
    for (const char* name : {"data/extrem.nnr", "../brett.nnr", ".", ""}) {
        game.dialog.currentFile = name;
        EXPECT_EQ(writeBoardRecord(0), FileResult::NotWritten) << name;
    }
    EXPECT_EQ(readBytes("data/extrem.nnr"), old);
    EXPECT_EQ(readBytes("../brett.nnr"), outside);
}

TEST_F(BoardRecordTest, ReadingTakesACompleteUndamagedRecordWithItsNotes) {
    fillGame();
    const GameState filled = game;
    Bytes record = recordOf();
    record.resize(boardRecordSize, 5);
    record[200 + 33 + 200] = 0x01;  // any non-zero note byte counts as noted
    resetGameState();
    game.puzzle.candidates(7, 7, 7) = true;
    game.dialog.currentFile = savedBoardFile;
    const GameState empty = game;
    auto withByte = [&record](std::size_t at) { Bytes b = record; b[at] = 10; return b; };
    const std::pair<const char*, Bytes> unusable[] = {{"missing", {}}, {"short", slice(record, 0, 2199)},
        {"far beyond the end", record}, {"board byte 10", withByte(55)}, {"given byte 10", withByte(199)}};
    for (const auto& [what, bytes] : unusable) {
        if (!bytes.empty()) writeBytes(savedBoardFile, bytes);
        EXPECT_EQ(readBoardRecord(bytes == record ? 9 : 0), bytes.empty() ? FileResult::Missing : FileResult::Damaged) << what;
        EXPECT_EQ(grids(game), grids(empty)) << what;
    }
    writeBytes(savedBoardFile, record);
    EXPECT_EQ(readBoardRecord(0), FileResult::Ok);
    EXPECT_EQ(grids(game), grids(filled));
    // Written back, every note is 0xFF; the three records the file lacked are blank. Which records a save keeps
    // whole is checked on the saved inputs of the board-record fuzz target.
    EXPECT_EQ(writeBoardRecord(0), FileResult::Ok);
    const Bytes file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 4u * boardRecordSize);
    for (std::size_t n = 0; n < 4; ++n) expectRecord(file, n, n != 0);
    // A link to a regular file is read as the file.
    fs::rename(savedBoardFile, "echt.nnr");
    fs::create_symlink("echt.nnr", savedBoardFile);
    game.puzzle.board.clear();
    EXPECT_EQ(readBoardRecord(0), FileResult::Ok);
    EXPECT_EQ(grids(game), grids(filled));
}

}  // namespace
}  // namespace nonari
