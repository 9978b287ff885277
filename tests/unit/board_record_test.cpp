// Board records: the byte layout, blank files, damaged and short files, failed writes and unsafe names.
#include "files/board_record.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <numeric>

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

// A whole stored record the loader takes, told apart from others by its number n (1..9): digit n on
// the diagonal, a given, a note byte and filler.
Bytes storedRecord(int n) {
    Bytes record(boardRecordSize, 0);
    for (int c = 1; c <= 9; ++c) record[static_cast<std::size_t>(c + 10 * c)] = static_cast<unsigned char>(n);
    record[100 + 55] = static_cast<unsigned char>(n);
    record[200 + 22 + 100 * n] = 0xFF;
    std::fill(record.begin() + 1200, record.end(), static_cast<unsigned char>(10 - n));
    return record;
}

long entries() { return std::distance(fs::directory_iterator("."), fs::directory_iterator()); }

using BoardRecordTest = test::HeadlessGame;

TEST_F(BoardRecordTest, WritingChangesOnlyTheChosenRecordFailedWritesLeaveTheOldFileAndNamesStayInside) {
    fillGame();
    // A missing file is made with the other three records blank.
    ASSERT_EQ(writeBoardRecord(2), FileResult::Ok);
    Bytes file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 8800u);
    for (std::size_t n = 0; n < 4; ++n) expectRecord(file, n, n != 2);
    // In a whole file only the chosen record changes.
    Bytes old;
    for (int n = 0; n < 4; ++n) {
        Bytes other = storedRecord(n + 1);
        old.insert(old.end(), other.begin(), other.end());
    }
    writeBytes(savedBoardFile, old);
    ASSERT_EQ(writeBoardRecord(1), FileResult::Ok);
    file = readBytes(savedBoardFile);
    expectRecord(file, 1, false);
    EXPECT_EQ(slice(file, 0, 2200), slice(old, 0, 2200));
    EXPECT_EQ(slice(file, 4400, 4400), slice(old, 4400, 4400));

    // Records outside the four are not written; a disk that fills half way leaves the old file.
    writeBytes(savedBoardFile, old);
    for (std::int16_t record : {4, -1}) EXPECT_EQ(writeBoardRecord(record), FileResult::NotWritten) << record;
    EXPECT_TRUE(test::inChildProcess([] {
        test::limitFileSize(3000);
        return writeBoardRecord(2) == FileResult::NotWritten;
    }));
    EXPECT_EQ(readBytes(savedBoardFile), old);
    EXPECT_EQ(entries(), 1);

    // Names that reach outside the working folder are never written.
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

TEST_F(BoardRecordTest, AFileOfTheWrongSizeKeepsEveryWholeRecordAndBecomesFourRecordsAgain) {
    for (std::size_t size : {0u, 2199u, 8799u, 8801u, 20000u}) {
        SCOPED_TRACE(size);
        // Whole records 1, 2, 3 ... as far as they fit, then the start of one more.
        Bytes old;
        for (int n = 1; old.size() < size; ++n) {
            Bytes record = storedRecord(n % 9 + 1);
            old.insert(old.end(), record.begin(), record.end());
        }
        old.resize(size);
        writeBytes(savedBoardFile, old);
        // Saving into slot 4 and then into slot 3 must lose none of the others.
        resetGameState();
        fillGame();
        ASSERT_EQ(writeBoardRecord(3), FileResult::Ok);
        game.puzzle.board(9, 1) = 5;
        const Bytes second = recordOf();
        ASSERT_EQ(writeBoardRecord(2), FileResult::Ok);
        const Bytes file = readBytes(savedBoardFile);
        ASSERT_EQ(file.size(), 8800u);
        EXPECT_EQ(slice(file, 2 * boardRecordSize, 1200), second);
        game.puzzle.board(9, 1) = 0;
        expectRecord(file, 3, false);
        for (std::size_t n : {0u, 1u}) {
            if (old.size() >= (n + 1) * boardRecordSize)
                EXPECT_EQ(slice(file, n * boardRecordSize, boardRecordSize),
                          slice(old, n * boardRecordSize, boardRecordSize))
                    << "record " << n << " was whole and must stay";
            else
                expectRecord(file, n, true);
        }
    }
}

TEST_F(BoardRecordTest, DamagedRecordsBecomeBlankAndAFileThatCannotBeReadIsNeverReplaced) {
    Bytes old = storedRecord(1);
    Bytes damaged = storedRecord(2);
    damaged[100 + 12] = 10;  // a given that is no digit: the loader refuses the record
    old.insert(old.end(), damaged.begin(), damaged.end());
    old.resize(8800, 7);  // records 3 and 4 hold 7 everywhere: digits, a stored board
    writeBytes(savedBoardFile, old);
    fillGame();
    ASSERT_EQ(writeBoardRecord(3), FileResult::Ok);
    Bytes file = readBytes(savedBoardFile);
    EXPECT_EQ(slice(file, 0, 2200), slice(old, 0, 2200));
    expectRecord(file, 1, true);
    EXPECT_EQ(slice(file, 4400, 2200), slice(old, 4400, 2200));
    expectRecord(file, 3, false);

    // A folder in the file's place, and a file its owner may not read, stay as they are.
    writeBytes(savedBoardFile, old);
    fs::permissions(work->path(), fs::perms::all);
    fs::permissions(savedBoardFile, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(test::inChildProcess([] {
        return test::actAsOrdinaryUser() && writeBoardRecord(0) == FileResult::Damaged;
    }));
    EXPECT_EQ(readBytes(savedBoardFile), old);
    EXPECT_EQ(entries(), 1);
    fs::remove(savedBoardFile);
    fs::create_directory(savedBoardFile);
    EXPECT_EQ(writeBoardRecord(0), FileResult::Damaged);
    EXPECT_TRUE(fs::is_directory(savedBoardFile) && fs::is_empty(savedBoardFile));
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
        EXPECT_EQ(std::tie(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates),
                  std::tie(empty.puzzle.board, empty.puzzle.givens, empty.puzzle.candidates)) << what;
    }
    writeBytes(savedBoardFile, record);
    EXPECT_EQ(readBoardRecord(0), FileResult::Ok);
    EXPECT_EQ(std::tie(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates),
              std::tie(filled.puzzle.board, filled.puzzle.givens, filled.puzzle.candidates));
    // Written back, every note is 0xFF.
    EXPECT_EQ(writeBoardRecord(0), FileResult::Ok);
    expectRecord(readBytes(savedBoardFile), 0, false);
}

}  // namespace
}  // namespace nonari
