// Board records: the byte layout, blank files, damaged and short files, collections and failed writes.
#include "files/board_record.h"

#include "tests/support/test_support.h"

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using test::HeadlessGame;
using test::readBytes;
using test::writeBytes;
using Bytes = std::vector<unsigned char>;

constexpr std::size_t recordSize = 2200;

Grid patternGrid() {
    Grid grid;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            grid(c, r) = static_cast<std::uint8_t>(((r - 1) * 3 + (r - 1) / 3 + (c - 1)) % 9 + 1);
    return grid;
}

// A game with digits, givens and a few notes, index 0 included where the files carry it.
void fillGame() {
    game.board = patternGrid();
    game.givens.clear();
    for (int c = 1; c <= 9; ++c) game.givens(c, 10 - c) = game.board(c, 10 - c);
    game.board(3, 3) = 0;
    game.board(0, 0) = 7;
    game.board(5, 0) = 3;
    game.givens(0, 9) = 4;
    game.candidates.clear();
    game.candidates(3, 3, 2) = true;
    game.candidates(3, 3, 9) = true;
    game.candidates(0, 3, 4) = true;  // no cell: never stored
}

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

bool allZero(const Bytes& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; });
}

bool allFiller(const Bytes& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b >= 1 && b <= 9; });
}

void expectBlankRecord(const Bytes& file, std::size_t record) {
    SCOPED_TRACE(record);
    EXPECT_TRUE(allZero(slice(file, record * recordSize, 1200)));
    EXPECT_TRUE(allFiller(slice(file, record * recordSize + 1200, 1000)));
}

// The record as the game's grids must have been stored.
void expectGameRecord(const Bytes& file, std::size_t record) {
    SCOPED_TRACE(record);
    std::size_t at = record * recordSize;
    EXPECT_EQ(slice(file, at, 100), Bytes(game.board.cell.begin(), game.board.cell.end()));
    EXPECT_EQ(slice(file, at + 100, 100), Bytes(game.givens.cell.begin(), game.givens.cell.end()));
    for (int c = 0; c <= 9; ++c)
        for (int r = 0; r <= 9; ++r)
            for (int d = 0; d <= 9; ++d) {
                bool noted = c > 0 && r > 0 && d > 0 && game.candidates(c, r, d);
                ASSERT_EQ(file[at + 200 + static_cast<std::size_t>(c + 10 * r + 100 * d)], noted ? 0xFF : 0)
                    << c << r << d;
            }
    EXPECT_TRUE(allFiller(slice(file, at + 1200, 1000)));
}

Bytes arbitraryBytes(std::size_t size, unsigned seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>((i * 131 + seed * 17 + i / 7) % 256);
    return bytes;
}

// A record image with valid grids: board and givens from g, everything else zero.
Bytes recordOf(const Grid& board, const Grid& givens) {
    Bytes record(recordSize, 0);
    std::copy(board.cell.begin(), board.cell.end(), record.begin());
    std::copy(givens.cell.begin(), givens.cell.end(), record.begin() + 100);
    return record;
}

using BoardRecordTest = HeadlessGame;

TEST_F(BoardRecordTest, WritingIntoAMissingFileLaysOutFourRecords) {
    fillGame();
    game.currentFile = savedBoardFile;
    writeBoardRecord(2);
    Bytes file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 8800u);
    expectBlankRecord(file, 0);
    expectBlankRecord(file, 1);
    expectBlankRecord(file, 3);
    expectGameRecord(file, 2);

    // The same board again: the same first 1200 bytes, a new filler.
    writeBoardRecord(2);
    Bytes again = readBytes(savedBoardFile);
    EXPECT_EQ(slice(again, 0, 4400), slice(file, 0, 4400));
    EXPECT_EQ(slice(again, 4400, 1200), slice(file, 4400, 1200));
    EXPECT_NE(slice(again, 5600, 1000), slice(file, 5600, 1000));
    EXPECT_EQ(slice(again, 6600, 2200), slice(file, 6600, 2200));
}

TEST_F(BoardRecordTest, WritingChangesOnlyTheChosenRecord) {
    const Bytes old = arbitraryBytes(8800, 1);
    writeBytes(savedBoardFile, old);
    fillGame();
    game.currentFile = savedBoardFile;
    writeBoardRecord(1);
    Bytes file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 8800u);
    EXPECT_EQ(slice(file, 0, 2200), slice(old, 0, 2200));
    EXPECT_EQ(slice(file, 4400, 4400), slice(old, 4400, 4400));
    expectGameRecord(file, 1);

    // Records outside the four of a board file are not written.
    writeBoardRecord(4);
    writeBoardRecord(-1);
    EXPECT_EQ(readBytes(savedBoardFile), file);
}

TEST_F(BoardRecordTest, FilesOfAnotherLengthStartOverBlank) {
    fillGame();
    game.currentFile = savedBoardFile;

    writeBytes(savedBoardFile, arbitraryBytes(5000, 2));
    writeBoardRecord(0);
    Bytes file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 8800u);
    expectGameRecord(file, 0);
    for (std::size_t r = 1; r < 4; ++r) expectBlankRecord(file, r);

    // A longer file keeps what lies beyond its four records.
    const Bytes longer = arbitraryBytes(10000, 3);
    writeBytes(savedBoardFile, longer);
    writeBoardRecord(3);
    file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 10000u);
    for (std::size_t r = 0; r < 3; ++r) expectBlankRecord(file, r);
    expectGameRecord(file, 3);
    EXPECT_EQ(slice(file, 8800, 1200), slice(longer, 8800, 1200));
}

TEST_F(BoardRecordTest, ReadingTakesTheRecordAndAnyNonZeroNote) {
    fillGame();
    Grid board = game.board, givens = game.givens;
    Bytes file(8800, 0);
    Bytes record = recordOf(board, givens);
    record[200 + 3 + 10 * 3 + 100 * 2] = 0x01;  // noted by an odd byte
    record[200 + 3 + 10 * 3 + 100 * 9] = 0xFF;
    record[200 + 0 + 10 * 3 + 100 * 4] = 0xFF;  // index 0: ignored
    record[200 + 4 + 10 * 4 + 100 * 0] = 0xFF;
    std::copy(record.begin(), record.end(), file.begin() + 2 * recordSize);
    writeBytes(savedBoardFile, file);

    resetGameState();
    game.candidates(7, 7, 7) = true;
    game.clockRunning = true;
    game.currentFile = savedBoardFile;
    readBoardRecord(2);
    EXPECT_FALSE(game.clockRunning);
    EXPECT_EQ(game.board, board);  // index 0 bytes included
    EXPECT_EQ(game.givens, givens);
    CandidateGrid expected;
    expected(3, 3, 2) = expected(3, 3, 9) = true;
    EXPECT_EQ(game.candidates, expected);

    // Written back, every note is 0xFF and the index-0 bytes of the grids travel along.
    writeBoardRecord(0);
    Bytes written = readBytes(savedBoardFile);
    EXPECT_EQ(written[200 + 3 + 10 * 3 + 100 * 2], 0xFF);
    EXPECT_EQ(written[200 + 0 + 10 * 3 + 100 * 4], 0);
    EXPECT_EQ(slice(written, 0, 200), slice(record, 0, 200));
    EXPECT_EQ(slice(written, 2 * recordSize, recordSize), record);
}

TEST_F(BoardRecordTest, MissingShortOrDamagedFilesLeaveTheGridsAlone) {
    fillGame();
    const Grid board = game.board, givens = game.givens;
    const CandidateGrid notes = game.candidates;
    auto expectUnchanged = [&](const char* what) {
        EXPECT_FALSE(game.clockRunning) << what;
        EXPECT_EQ(game.board, board) << what;
        EXPECT_EQ(game.givens, givens) << what;
        EXPECT_EQ(game.candidates, notes) << what;
    };
    Grid other = patternGrid();
    other(1, 1) = 0;

    game.currentFile = savedBoardFile;
    game.clockRunning = true;
    readBoardRecord(0);
    expectUnchanged("missing file");

    Bytes file(8800, 0);
    Bytes good = recordOf(other, Grid{});
    std::copy(good.begin(), good.end(), file.begin());
    std::copy(good.begin(), good.end(), file.begin() + 3 * recordSize);
    file.resize(8799);  // record 3 lacks its last byte
    writeBytes(savedBoardFile, file);
    game.clockRunning = true;
    readBoardRecord(3);
    expectUnchanged("short file");
    game.clockRunning = true;
    readBoardRecord(9);
    expectUnchanged("record far beyond the end");

    for (std::size_t offset : {std::size_t{0} + 5 + 10 * 5, std::size_t{100} + 9 + 10 * 9}) {
        Bytes damaged(8800, 0);
        std::copy(good.begin(), good.end(), damaged.begin());
        damaged[offset] = 10;
        writeBytes(savedBoardFile, damaged);
        game.clockRunning = true;
        readBoardRecord(0);
        expectUnchanged(offset < 100 ? "board byte above 9" : "given byte above 9");
    }

    // Index 0 is no cell: any byte there is carried, not judged.
    Bytes odd(8800, 0);
    std::copy(good.begin(), good.end(), odd.begin());
    odd[0 + 10 * 4] = 200;
    writeBytes(savedBoardFile, odd);
    readBoardRecord(0);
    EXPECT_EQ(game.board(0, 4), 200);
    EXPECT_EQ(game.board(5, 5), other(5, 5));
}

TEST_F(BoardRecordTest, CollectionsAreFoundBesideTheProgramAndDrawnAtRandom) {
    EXPECT_EQ(collectionFile(0), "leicht.nnr");
    EXPECT_EQ(collectionFile(1), "mittel.nnr");
    EXPECT_EQ(collectionFile(2), "schwer.nnr");
    EXPECT_EQ(collectionFile(3), "extrem.nnr");
    EXPECT_EQ(collectionFile(4), "teuflisch.nnr");
    EXPECT_EQ(collectionFile(5), "");

    // A data folder named by the environment holds "extrem.nnr": four puzzles, each with its own empty cell.
    fs::path data = work->path() / "data";
    fs::create_directory(data);
    Bytes collection;
    for (int r = 0; r < 4; ++r) {
        Grid puzzle = patternGrid();
        puzzle(r + 1, 1) = 0;
        Bytes record = recordOf(puzzle, puzzle);
        collection.insert(collection.end(), record.begin(), record.end());
    }
    writeBytes(data / "extrem.nnr", collection);
    writeBytes(data / savedBoardFile, collection);
    struct DataDirSetting {
        explicit DataDirSetting(const fs::path& folder) { setenv("NONARI_DATA_DIR", folder.c_str(), 1); }
        ~DataDirSetting() { unsetenv("NONARI_DATA_DIR"); }
    } dataDir(data);

    EXPECT_EQ(locateBoardFile("extrem.nnr"), (data / "extrem.nnr").string());
    EXPECT_EQ(locateBoardFile(savedBoardFile), savedBoardFile);  // the player's boards live only here

    game.difficulty = 3;
    std::set<int> drawn;
    for (int round = 0; round < 40; ++round) {
        game.board.clear();
        loadNewGamePuzzle();
        EXPECT_EQ(game.currentFile, "extrem.nnr");
        int emptyAt = 0;
        for (int c = 1; c <= 4; ++c)
            if (game.board(c, 1) == 0) emptyAt = c;
        ASSERT_NE(emptyAt, 0);
        drawn.insert(emptyAt - 1);
        EXPECT_EQ(game.board, game.givens);
    }
    EXPECT_EQ(drawn, (std::set<int>{0, 1, 2, 3}));

    // A copy in the working folder comes first.
    Bytes own = recordOf(Grid{}, Grid{});
    Bytes ownFile;
    for (int r = 0; r < 4; ++r) ownFile.insert(ownFile.end(), own.begin(), own.end());
    writeBytes("extrem.nnr", ownFile);
    EXPECT_EQ(locateBoardFile("extrem.nnr"), "extrem.nnr");
    game.board = patternGrid();
    loadNewGamePuzzle();
    EXPECT_EQ(game.board, Grid{});

    // Saving never reaches into another folder.
    const fs::path outside = work->path().parent_path() / savedBoardFile;
    const bool existedOutside = fs::exists(outside);
    const Bytes outsideBefore = existedOutside ? readBytes(outside) : Bytes();
    const Bytes before = readBytes(data / "extrem.nnr");
    for (const char* name : {"data/extrem.nnr", "../brett.nnr", "/tmp/brett.nnr", ".", ""}) {
        game.currentFile = name;
        writeBoardRecord(0);
    }
    EXPECT_EQ(readBytes(data / "extrem.nnr"), before);
    EXPECT_EQ(fs::exists(outside), existedOutside);
    if (existedOutside) {
        EXPECT_EQ(readBytes(outside), outsideBefore);
    }
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(work->path())) names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"data", "extrem.nnr"}));
}

TEST_F(BoardRecordTest, FailedWriteLeavesTheOldFileByteForByte) {
    const Bytes old = arbitraryBytes(8800, 9);
    writeBytes(savedBoardFile, old);
    fillGame();
    game.currentFile = savedBoardFile;
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{3000, 3000};
        setrlimit(RLIMIT_FSIZE, &limit);
        writeBoardRecord(1);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(readBytes(savedBoardFile), old);
    std::vector<fs::path> entries(fs::directory_iterator(work->path()), fs::directory_iterator());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.front().filename(), savedBoardFile);
}

}  // namespace
}  // namespace nonari
