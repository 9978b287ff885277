// The game's files, the record check and hall of fame, against hostile and unlucky files: nothing hangs or is lost.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "platform/safe_file.h"
#include "tests/support/test_support.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace nonari::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

std::string minutes(int m) { return std::string("00:") + (m < 10 ? "0" : "") + std::to_string(m) + ":00.0"; }
std::string notWritten(const std::string& file) { return "Die Datei „" + file + "“ konnte nicht geschrieben werden."; }
std::string readOnly(const fs::path& folder, const std::string& file) {
    return "Der Ordner „" + folder.string() + "“ ist schreibgeschützt. Die Datei „" + file +
           "“ konnte nicht geschrieben werden; gelesen wird sie weiterhin.";
}

// A sanitizer reserves terabytes of address space, which no memory limit leaves room for.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define NONARI_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define NONARI_SANITIZED 1
#endif
#endif

// Runs body as an ordinary user in a child that may neither hang nor grow without bound, as a hostile file
// once made the game do; true when it returns true and its checks hold.
bool boundedChild(const std::function<bool()>& body) {
    return inChildProcess([&] {
        alarm(60);
#ifndef NONARI_SANITIZED
        rlimit memory{1u << 30, 1u << 30};
        setrlimit(RLIMIT_AS, &memory);
#endif
        return actAsOrdinaryUser() && body() && !::testing::Test::HasFailure();
    });
}

// Something that is no usable file under a game file's name, or a file in a folder that cannot be written.
enum Hostile { Pipe, Device, Huge, Folder, Unreadable, ReadOnlyFolder };
const char* const hostileNames[] = {"a pipe", "a link to /dev/zero", "a sparse 1 GB file without a line break",
                                    "a folder", "a file only writable", "an empty file in a read-only folder"};

void makeHostile(const std::string& name, Hostile kind) {
    fs::remove_all(name);
    switch (kind) {
        case Pipe: ASSERT_EQ(mkfifo(name.c_str(), 0644), 0); break;
        case Device: fs::create_symlink("/dev/zero", name); break;
        case Folder: fs::create_directory(name); break;
        case Huge: case Unreadable: case ReadOnlyFolder:
            writeBytes(name, kind == ReadOnlyFolder ? Bytes{} : Bytes{'x'});
            if (kind == Huge) fs::resize_file(name, std::uintmax_t{1} << 30);
            // Anyone may write each: only a failed read, or the folder, keeps a save from replacing it.
            fs::permissions(name, static_cast<fs::perms>(kind == Unreadable ? 0222 : 0666));
            break;
    }
}

// What shows that a file was replaced or written: its inode, kind, permissions, size, blocks and time of change.
auto identity(const std::string& name) {
    struct stat st {};
    lstat(name.c_str(), &st);
    return std::tuple(st.st_ino, st.st_mode, st.st_size, st.st_blocks, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

// Every new game at a level must be one of the four puzzles of that shipped file.
void expectDrawsFrom(int level, const fs::path& file) {
    const Bytes bytes = readBytes(file);
    std::vector<Grid> puzzles(4);
    for (std::size_t n = 0; n < 4; ++n)
        std::copy_n(bytes.begin() + static_cast<long>(n * boardRecordSize + 100), 100, puzzles[n].cell.begin());
    for (int draw = 0; draw < 8; ++draw) {
        game.puzzle.givens.clear();
        game.settings.difficulty = static_cast<std::int16_t>(level);
        static_cast<void>(loadNewGamePuzzle());
        EXPECT_NE(std::find(puzzles.begin(), puzzles.end(), game.puzzle.givens), puzzles.end()) << level;
        EXPECT_EQ(game.puzzle.board, game.puzzle.givens);
    }
}

class FileFaultsTest : public HeadlessGame {
protected:
    // Saves or loads record 2 of brett.nnr through the slot dialog.
    void slot2(void (*openDialog)()) {
        game.dialog.currentFile = savedBoardFile;
        pf.pushFormEvent("frm1", "opt3_Click");
        openDialog();
    }
};

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(from);
    return Bytes(start, start + static_cast<std::ptrdiff_t>(count));
}

auto grids(const GameState& g) { return std::tie(g.puzzle.board, g.puzzle.givens, g.puzzle.candidates); }

// The game's grids as the first 1200 bytes of a record, every note as 0xFF.
Bytes recordOf() {
    Bytes record(1200, 0);
    std::copy(game.puzzle.board.cell.begin(), game.puzzle.board.cell.end(), record.begin());
    std::copy(game.puzzle.givens.cell.begin(), game.puzzle.givens.cell.end(), record.begin() + 100);
    for (std::size_t i = 111; i < 1000; ++i)  // cell c + 10 * r, digit i / 100; index 0 is none
        record[200 + i] = game.puzzle.candidates.mark[i] && i % 10 != 0 && i / 10 % 10 != 0 ? 0xFF : 0;
    return record;
}

TEST_F(FileFaultsTest, NothingIsWrittenOutsideTheFourRecordsOrTheWorkingFolder) {
    const Bytes old(boardRecordSize, 1), outside = readBytes("../brett.nnr");
    fs::create_directory("data");
    for (const char* name : {savedBoardFile, "data/extrem.nnr"}) writeBytes(name, old);
    game.dialog.currentFile = savedBoardFile;
    for (std::int16_t record : {4, -1}) EXPECT_EQ(writeBoardRecord(record), FileResult::NotWritten) << record;
    for (const char* name : {"data/extrem.nnr", "../brett.nnr", ".", ""}) {
        game.dialog.currentFile = name;
        EXPECT_EQ(writeBoardRecord(0), FileResult::NotWritten) << name;
    }
    EXPECT_TRUE(readBytes(savedBoardFile) == old && readBytes("data/extrem.nnr") == old);
    EXPECT_EQ(readBytes("../brett.nnr"), outside);
}

TEST_F(FileFaultsTest, ReadingTakesACompleteUndamagedRecordWithItsNotes) {
    for (int c = 1; c <= 9; ++c) game.puzzle.board(c, c) = game.puzzle.givens(c, 10 - c) = static_cast<std::uint8_t>(c);
    game.puzzle.candidates(3, 3, 2) = game.puzzle.candidates(3, 3, 9) = game.puzzle.candidates(4, 5, 1) = true;
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
    EXPECT_TRUE(readBoardRecord(0) == FileResult::Ok && grids(game) == grids(filled));
    // Written back, every note is 0xFF; the three records the file lacked are blank, each with its 1000 filler
    // digits. Which records a save keeps whole is checked on the saved inputs of the board-record fuzz target.
    EXPECT_EQ(writeBoardRecord(0), FileResult::Ok);
    const Bytes file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 4u * boardRecordSize);
    for (std::size_t n = 0; n < 4; ++n) {
        EXPECT_EQ(slice(file, n * boardRecordSize, 1200), n != 0 ? Bytes(1200, 0) : recordOf()) << n;
        for (unsigned char b : slice(file, n * boardRecordSize + 1200, 1000)) ASSERT_TRUE(b >= 1 && b <= 9) << int{b};
    }
}

TEST_F(FileFaultsTest, FilesThatCannotBeUsedOrWrittenAreNeitherReadWholeNorChangedAndEveryFailureIsReported) {
    pf.openMainWindow(40, 30, 862, 694);
    // The child acting as an ordinary user may not reach the checkout (a clone in a private folder): it
    // gets its own readable copy of the shipped collection.
    const fs::path data = work->path() / "ausgeliefert", shipped = data / collectionFile(3);
    fs::create_directory(data);
    fs::copy_file(sourceDir() / "data" / collectionFile(3), shipped);
    fs::permissions(data, static_cast<fs::perms>(0755));
    fs::permissions(shipped, static_cast<fs::perms>(0644));
    for (Hostile kind : {Pipe, Device, Huge, Folder, Unreadable, ReadOnlyFolder}) {
        SCOPED_TRACE(hostileNames[kind]);
        for (const std::string& name :
             {std::string(championsFile), std::string(savedBoardFile), collectionFile(3), std::string("muster.jpg")})
            makeHostile(name, kind);
        fs::permissions(work->path(), static_cast<fs::perms>(kind == ReadOnlyFolder ? 0555 : 0777));
        const auto champions = identity(championsFile), boards = identity(savedBoardFile);
        EXPECT_TRUE(boundedChild([this, kind, &data, &shipped] {
            setenv("NONARI_DATA_DIR", data.c_str(), 1);
            startNonari();  // the background picture is read first, never decoded
            EXPECT_TRUE(pf.backgroundPictures.empty());
            for (auto& list : game.fame.championTime) list.fill("alt");
            static_cast<void>(loadChampions());
            for (const auto& list : game.fame.championTime)  // emptied lists
                EXPECT_EQ(std::count(list.begin() + 1, list.end(), "9"), 10);
            game.puzzle.board(4, 4) = 4;
            const Grid board = game.puzzle.board;
            // A huge file is an ordinary one: its blank record is read alone, never the whole file.
            slot2(openLoadDialog);
            EXPECT_EQ(game.puzzle.board, kind == Huge ? Grid{} : board);
            game.puzzle.board = board;
            slot2(openSaveDialog);
            game.clock.finalTime = "00:01:02.3";  // a record at Leicht, confirmed with a name
            pf.pushStep([this] { pf.findForm("champ")->texts["ed1"] = "Erika"; });
            pf.pushFormEvent("champ", "cmd5_Click");
            pf.pushFormEvent("ruhm", "cmd3_Click");
            checkForRecord();
            pf.messageBoxAnswers = {1};  // "Wirklich löschen?" JA: a cleared list
            pf.pushFormEvent("ruhm", "cmd4_Click");
            pf.pushFormEvent("ruhm", "ruhm_Close");
            showHallOfFame();
            // Only a huge board file takes the board: its first four records make a file of exactly four.
            auto why = [&](const char* file) { return kind == ReadOnlyFolder ? readOnly(work->path(), file) : notWritten(file); };
            std::vector<std::string> failed{why(savedBoardFile), why(championsFile), "Wirklich löschen?", why(championsFile)};
            if (kind == Huge) failed.erase(failed.begin());
            EXPECT_EQ(pf.messages, failed);
            game.puzzle.board.clear();
            slot2(openLoadDialog);
            EXPECT_EQ(game.puzzle.board, kind == Huge ? board : Grid{});
            expectDrawsFrom(3, shipped);
            return true;
        }));
        EXPECT_EQ(identity(championsFile), champions);
        if (kind == Huge) EXPECT_EQ(fs::file_size(savedBoardFile), std::uintmax_t{8800});
        else EXPECT_EQ(identity(savedBoardFile), boards);
    }
}

TEST_F(FileFaultsTest, StartRemovesOnlyTheLeftoversOfDeadSavesAndAFullDiskFailsASaveWithoutEndingTheGame) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string deadPid = std::to_string(gone);
    // A whole board record in a leftover: it is not what the player saved, and must not take its place.
    game.dialog.currentFile = "brett.nnr.tmp" + deadPid + "-0";
    ASSERT_EQ(writeBoardRecord(0), FileResult::Ok);
    writeBytes("Champions.Rhm.tmp" + deadPid + "-17", Bytes(100, 'x'));
    std::set<std::string> kept = {
        "brett.nnr.tmp1-0",                                  // its writer still runs (process 1 always does)
        "brett.nnr.tmp" + deadPid + "-0x", "brett.nnr.tmp" + deadPid, "brett.nnr.tmp-" + deadPid + "-1",
        "brett.nnr.tmp0-1", "notizen.txt.tmp" + deadPid + "-1",  // not of the game's naming
        "leicht.nnr.tmp" + deadPid + "-2"};                     // the game never writes a collection
    for (const std::string& name : kept) writeBytes(name, {'k'});
    kept.insert({"Champions.Rhm.tmp" + deadPid + "-3", savedBoardFile, saveLockFile, "sync", championsFile});
    fs::create_directory("sync");
    fs::create_symlink("sync/Ruhm.rhm", championsFile);  // a save through it left its leftover there
    writeBytes("sync/Ruhm.rhm.tmp" + deadPid + "-4", {'k'});
    writeBytes("sync/Ruhm.rhm", {});
    fs::create_directory("Champions.Rhm.tmp" + deadPid + "-3");  // a folder was never made by a save
    const Bytes oldBoards(8800, 1);  // four records of ones
    writeBytes(savedBoardFile, oldBoards);

    // A file-size limit (a full disk) fails the write; its signal, left at its default, must not end the game.
    EXPECT_TRUE(inChildProcess([this] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        startNonari();
        pf.messages.clear();
        slot2(openSaveDialog);
        return pf.messages == std::vector<std::string>{notWritten(savedBoardFile)};
    }));
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(".")) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, kept);
    EXPECT_EQ(std::distance(fs::directory_iterator("sync"), fs::directory_iterator()), 1);
    EXPECT_EQ(readBytes(savedBoardFile), oldBoards);
}

TEST_F(FileFaultsTest, LinkedFilesAreReadAndSavedThroughTheirLinksWhichStayAndALinkToNothingIsNamed) {
    pf.openMainWindow(40, 30, 862, 694);
    fs::create_directory("sync");
    game.puzzle.board(1, 1) = 1;
    game.dialog.currentFile = "sync-brett.nnr";
    resetChampions();
    std::tie(game.fame.championName[2][1], game.fame.championTime[2][1]) = std::tuple("Alt", "00:05:00.0");
    ASSERT_TRUE(writeBoardRecord(0) == FileResult::Ok && saveChampions() == FileResult::Ok);
    fs::rename("sync-brett.nnr", "sync/brett.nnr");
    fs::rename(championsFile, "sync/ruhm.txt");
    fs::create_symlink("sync/brett.nnr", savedBoardFile);
    fs::create_symlink("../sync/ruhm.txt", "sync/link");  // a link to a link
    fs::create_symlink("sync/link", championsFile);
    resetGameState();
    game.dialog.currentFile = savedBoardFile;
    ASSERT_EQ(readBoardRecord(0), FileResult::Ok);
    EXPECT_EQ(game.puzzle.board(1, 1), 1);
    game.puzzle.board(1, 1) = 2;
    slot2(openSaveDialog);
    game.clock.finalTime = "00:01:02.3";
    game.settings.difficulty = 2;
    pf.pushFormEvent("champ", "cmd5_Click");
    pf.pushFormEvent("ruhm", "cmd3_Click");
    checkForRecord();
    EXPECT_TRUE(pf.messages.empty());
    EXPECT_TRUE(fs::is_symlink(savedBoardFile) && fs::is_symlink(championsFile) && fs::is_symlink("sync/link"));
    EXPECT_EQ(readBytes("sync/brett.nnr").at(2 * boardRecordSize + 11), 2);  // cell (1, 1)
    ASSERT_EQ(loadChampions(), FileResult::Ok);  // the record is place 1, "Alt" place 2
    EXPECT_EQ(game.fame.championName[2][1] + game.fame.championName[2][2] + game.fame.championTime[2][1], "Alt00:01:02.3");

    fs::remove("sync/brett.nnr");
    slot2(openSaveDialog);
    EXPECT_EQ(pf.messages, std::vector<std::string>{"Die Datei „brett.nnr“ ist ein Verweis auf „sync/brett.nnr“, den "
                                                    "es nicht gibt. Sie konnte nicht geschrieben werden."});
    EXPECT_TRUE(fs::is_symlink(savedBoardFile) && !fs::exists("sync/brett.nnr"));
}

TEST_F(FileFaultsTest, ACollectionHereWithoutAUsableRecordGivesWayToTheShippedOne) {
    const fs::path shipped = sourceDir() / "data";
    std::mt19937 noise(7);
    Bytes garbage(20000);
    for (auto& b : garbage) b = static_cast<unsigned char>(noise());
    Bytes half = readBytes(shipped / collectionFile(3));
    half.resize(2 * boardRecordSize + 1000);  // two whole records, then the file breaks off
    const Bytes here[] = {{}, garbage, Bytes(4 * boardRecordSize, 0), half};
    for (int level = 0; level < 4; ++level) writeBytes(collectionFile(level), here[level]);
    // A usable collection here is still the one played: Mittel's puzzles under Teuflisch's name.
    fs::copy_file(shipped / collectionFile(1), collectionFile(4));
    for (int level = 0; level < 5; ++level) expectDrawsFrom(level, shipped / collectionFile(level == 4 ? 1 : level));

    // Puzzles no one can win: a digit twice in a row, a cell without any digit, no solution (two cells of row 1
    // that can only take 9), a full board; four records of each.
    const std::string empty(72, '.');
    const std::string broken[] = {"11......." + empty, ".12345678" "9........" + empty.substr(9),
                                  "..1234567" + std::string(27, '.') + "8........" ".8......." + empty.substr(45),
                                  "534678912672195348198342567859761423426853791713924856961537284287419635345286179"};
    for (int level = 0; level < 4; ++level) {
        game.dialog.currentFile = collectionFile(level);
        game.puzzle.board = game.puzzle.givens = gridFromText(broken[level]);
        for (std::int16_t r = 0; r < 4; ++r) ASSERT_EQ(writeBoardRecord(r), FileResult::Ok);
        expectDrawsFrom(level, shipped / collectionFile(level));
    }
}

// Saves one of the two states the saving child alternates between, told apart by marker: a board in record 2
// and a hall of fame. The marker seeds the filler too, so that the file's bytes are known.
void save(int marker) {
    seedRandom(static_cast<std::uint32_t>(marker));
    game.puzzle.board.clear();
    for (int c = 1; c <= 9; ++c) game.puzzle.board(c, (c + marker) % 9 + 1) = static_cast<std::uint8_t>(c);
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p) game.fame.championName[d][p] = std::to_string(marker * 1000 + d * 10 + p);
    game.dialog.currentFile = savedBoardFile;
    if (writeBoardRecord(2) != FileResult::Ok || saveChampions() != FileResult::Ok) _exit(2);
}

long entries() { return std::distance(fs::directory_iterator("."), fs::directory_iterator()); }

TEST_F(FileFaultsTest, SavesKilledAtRandomMomentsLeaveEveryFileWholeAsBeforeOrAsAfter) {
    // The files each state leaves, made once undisturbed after the first save has made the other records.
    save(1), save(2);
    const Bytes boardsSecond = readBytes(savedBoardFile), championsSecond = readBytes(championsFile);
    save(1);
    const Bytes boardsFirst = readBytes(savedBoardFile), championsFirst = readBytes(championsFile);
    ASSERT_TRUE(boardsFirst != boardsSecond && championsFirst != championsSecond);
    std::mt19937 moments(20240601);
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);  // kills before, inside and between a few saves
    int boardsNew = 0;
    for (int round = 0; round < 250; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        while (child == 0) {
            save(2);
            save(1);
        }
        usleep(static_cast<useconds_t>(delayMicroseconds(moments)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saving child failed by itself";
        const Bytes boards = readBytes(savedBoardFile), champions = readBytes(championsFile);
        ASSERT_TRUE(boards == boardsFirst || boards == boardsSecond) << "brett.nnr torn, " << round;
        ASSERT_TRUE(champions == championsFirst || champions == championsSecond) << "Champions.Rhm torn, " << round;
        boardsNew += boards == boardsSecond;
        // What an interrupted save leaves behind goes at the next start: the two files and the saves' lock stay.
        removeStaleTemporaries(".", {savedBoardFile, championsFile});
        ASSERT_EQ(entries(), 3);
    }
    std::printf("250 kills: brett.nnr %d times in the second state\n", boardsNew);
}

TEST_F(FileFaultsTest, FailuresLeaveTheOldFileAndNoLeftoversSuccessReplacesItWhole) {
    const Bytes old(8800, 0x11), replacement(8800, 0x22);
    writeBytes("brett.nnr", old);
    // A read-only file of the user's own, in a folder of the user's own that would allow the rename.
    chmod("brett.nnr", 0444);
    ASSERT_TRUE(geteuid() != 0 || (chown(".", 65534, 65534) == 0 && chown("brett.nnr", 65534, 65534) == 0));
    EXPECT_TRUE(inChildProcess([&] {
        return actAsOrdinaryUser() && replaceFileContents("brett.nnr", replacement) == FileResult::NotWritten;
    }));
    for (const char* path : {"missing/brett.nnr", ""})
        EXPECT_EQ(replaceFileContents(path, replacement), FileResult::NotWritten) << path;
    EXPECT_TRUE(readBytes("brett.nnr") == old && entries() == 1);
    // A shorter content leaves nothing of the longer one, and the permissions stay.
    chmod("brett.nnr", 0640);
    EXPECT_EQ(replaceFileContents("brett.nnr", Bytes(300, 0x33)), FileResult::Ok);
    EXPECT_TRUE(readBytes("brett.nnr") == Bytes(300, 0x33) && entries() == 1);
    EXPECT_EQ(fs::status("brett.nnr").permissions(), static_cast<fs::perms>(0640));
}

// One game of two in the same folder: round after round it saves a board into its own slot and wins a record in its
// own list, each time first making sure that its last board and record are still there. False at the first loss.
Grid boardOf(int round) {
    Grid board;
    std::tie(board(1, 1), board(2, 1), board(3, 1)) =
        std::tuple(std::uint8_t(round % 9 + 1), std::uint8_t(round / 9 % 9 + 1), std::uint8_t(round / 81 + 1));
    return board;
}

bool playAlongside(int me, int rounds, int startSignal) {
    char go = 0;
    if (read(startSignal, &go, 1) != 1) return false;
    auto time = [rounds](int round) { return minutes(rounds - 1 - round); };  // each round faster: always place 1
    game.settings.difficulty = static_cast<std::int16_t>(me);
    game.dialog.currentFile = savedBoardFile;
    HeadlessPlatform& pf = static_cast<HeadlessPlatform&>(platform());
    for (int round = 0; round < rounds; ++round) {
        if (round > 0 && (readBoardRecord(static_cast<std::int16_t>(me)) != FileResult::Ok ||
                          game.puzzle.board != boardOf(round - 1)))
            return std::printf("game %d: board of round %d lost\n", me, round - 1), false;
        if (round > 0 && (loadChampions() != FileResult::Ok || game.fame.championTime[me][1] != time(round - 1)))
            return std::printf("game %d: record of round %d lost\n", me, round - 1), false;
        game.puzzle.board = boardOf(round);
        if (writeBoardRecord(static_cast<std::int16_t>(me)) != FileResult::Ok) return false;
        pf.pushStep([&pf, me] { pf.findForm("champ")->texts["ed1"] = "Spiel " + std::to_string(me); });
        pf.pushFormEvent("champ", "cmd5_Click");
        pf.pushFormEvent("ruhm", "cmd3_Click");
        game.clock.finalTime = time(round);
        checkForRecord();
        if (!pf.messages.empty()) return false;
    }
    return true;
}

TEST_F(FileFaultsTest, TwoGamesInOneFolderSavingAndWinningAtTheSameMomentLoseNothing) {
    constexpr int rounds = 100;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t games[2];
    for (int me = 0; me < 2; ++me) {
        games[me] = fork();
        ASSERT_GE(games[me], 0);
        if (games[me] == 0) _exit(playAlongside(me, rounds, start[0]) ? 0 : 1);
    }
    ASSERT_EQ(write(start[1], "go", 2), 2);  // both at once
    for (pid_t child : games) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Each game's last board and its ten newest records, all of them.
    ASSERT_EQ(loadChampions(), FileResult::Ok);
    for (int me = 0; me < 2; ++me) {
        game.dialog.currentFile = savedBoardFile;
        ASSERT_EQ(readBoardRecord(static_cast<std::int16_t>(me)), FileResult::Ok);
        EXPECT_EQ(game.puzzle.board, boardOf(rounds - 1));
        EXPECT_EQ(std::count(game.fame.championName[me].begin() + 1, game.fame.championName[me].end(),
                             "Spiel " + std::to_string(me)), 10);
    }
    // A game that keeps the lock too long: the save is refused with a question to try again, and nothing is lost.
    const auto before = readBytes(savedBoardFile);
    game.puzzle.board(5, 5) = 5;
    saveLockWaitMilliseconds = 20;
    auto other = std::make_unique<SaveLock>();
    pf.messageBoxAnswers = {1, 2};  // JA, then NEIN
    pf.pushFormEvent("frm1", "opt3_Click");
    openSaveDialog();
    EXPECT_TRUE(pf.messages.size() == 2 && pf.messages[1].find("Ein anderes Nonari sichert gerade") != std::string::npos);
    EXPECT_EQ(readBytes(savedBoardFile), before);
    other.reset();
    EXPECT_EQ(writeBoardRecord(2), FileResult::Ok) << "the lock is given back";
}

// Ten entries of difficulty d whose names tell difficulty and place apart.
std::string placeName(int d, int p) { return "S" + std::to_string(d * 100 + p); }
std::string blockLines(int d, const std::string& end = "\r\n") {
    std::string text;
    for (int p = 1; p <= 10; ++p)
        text += placeName(d, p) + end + "1.2.2024" + end + "00:00:0" + std::to_string(p - 1) + end;
    return text;
}

using Rows = std::vector<std::vector<std::string>>;

class RecordCheckTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(100, 50, 862, 694);
        EXPECT_EQ(loadChampions(), FileResult::Missing);
    }

    // Wins with that time; a name form, when `handler` is given, must offer `offered` and is left by that
    // handler with `name` typed. Returns the rows the hall of fame then showed for the current difficulty.
    Rows win(const std::string& time, const std::string& handler = "", const std::string& offered = "",
             const std::string& name = "") {
        if (!handler.empty()) {
            pf.pushStep([=, this] {
                ASSERT_NE(pf.findForm("champ"), nullptr);
                EXPECT_EQ(std::exchange(pf.findForm("champ")->texts["ed1"], name), offered) << "the last confirmed name";
            });
            pf.pushFormEvent("champ", handler);
        }
        Rows rows;
        pf.pushStep([&, this] {
            ASSERT_TRUE(pf.findForm("ruhm") && !pf.findForm("champ"));
            rows = pf.findForm("ruhm")->rows["lv" + std::to_string(game.settings.difficulty + 1)];
        });
        pf.pushFormEvent("ruhm", "cmd3_Click");
        game.clock.finalTime = time;
        checkForRecord();
        EXPECT_TRUE(pf.script.empty() && pf.forms.empty() && pf.windowEnabled);
        return rows;
    }
};

TEST_F(RecordCheckTest, TheFileHoldsAllLinesInWindows1252AndCrLfAndIsReadInAnyLineEnd) {
    EXPECT_FALSE(fs::exists(championsFile)) << "a missing file reads as empty lists and is not made";
    game.fame.championName[1][1] = "Jürgen €\r\nStraße\n日🙂";  // a line break would shift every later entry
    game.fame.championTime[1][1] = "00:12:34.5";
    game.fame.championDate[1][1] = "3.4.2024";
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    std::string expected;
    for (int place = 0; place < 50; ++place) expected += "\r\n\r\n9\r\n";  // 150 lines, empty places
    expected.replace(10 * 7, 7, "J\xFCrgen \x80  Stra\xDF" "e ??\r\n3.4.2024\r\n00:12:34.5\r\n");
    EXPECT_EQ(readBytes(championsFile), std::vector<unsigned char>(expected.begin(), expected.end()));
    auto names = game.fame.championName, dates = game.fame.championDate, times = game.fame.championTime;
    names[1][1] = "Jürgen €  Straße ??";
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    const FameState& fame = game.fame;
    EXPECT_EQ(std::tie(fame.championName, fame.championDate, fame.championTime), std::tie(names, dates, times));
    std::string all;  // every byte survives both ways; broken sequences, overlong forms and surrogates do not
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToWindows1252("x\xC3(\xFF\xE2\x82y\xC0\xAF\xED\xA0\x80"), "x?(???y?????");

    // 120 lines in four line ends, CR CR LF being CR LF converted twice on its way between systems; the rest is
    // emptied, and a save writes it in CR LF.
    std::string text = blockLines(0, "\n") + blockLines(1, "\r") + blockLines(2) + blockLines(3, "\r\r\n");
    writeBytes(championsFile, {text.begin(), text.end()});
    for (auto& list : game.fame.championTime) list.fill("alt");
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p)
            EXPECT_EQ(game.fame.championName[d][p] + "|" + game.fame.championTime[d][p],
                      d < 4 ? placeName(d, p) + "|00:00:0" + std::to_string(p - 1) : "|9");
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    text = blockLines(0) + blockLines(1) + blockLines(2) + blockLines(3);
    for (int p = 1; p <= 10; ++p) text += "\r\n\r\n9\r\n";
    EXPECT_EQ(readBytes(championsFile), std::vector<unsigned char>(text.begin(), text.end()));
    text = "\r\n1.2.2024\r\n00:00:01.0\r\n";  // an empty name
    writeBytes(championsFile, {text.begin(), text.end()});
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(game.fame.championName[0][1] + "|" + game.fame.championTime[0][1], "|00:00:01.0");
}

TEST_F(RecordCheckTest, PlacesOnAnEmptyAndAFullListAndWhatStoresNothing) {
    game.settings.difficulty = 2;  // a first win on an empty list is stored as shown
    EXPECT_EQ(win("00:04:05.6", "cmd5_Click", "", "Erika"), (Rows{{" 1.", "Erika", todayText(), "00:04:05.6"}}));
    auto tables = std::tuple(game.fame.championName, game.fame.championDate, game.fame.championTime);
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(std::tuple(game.fame.championName, game.fame.championDate, game.fame.championTime), tables);

    game.settings.difficulty = 0;
    FameState& fame = game.fame;
    for (int p = 1; p <= 10; ++p)
        std::tie(fame.championName[0][p], fame.championTime[0][p]) = std::tuple("P" + std::to_string(p), minutes(p));
    ASSERT_EQ(saveChampions(), FileResult::Ok);  // the check reads the lists as they are on disk
    auto rows = win(minutes(3), "cmd5_Click", "Erika", "Gleich");  // equal to place 3: goes behind it
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[2][1] + rows[3][1] + rows[4][1] + rows[9][1], "P3GleichP4P9") << "the old place 10 drops out";
    // Beating only the last of the ten still makes a record at place 10.
    EXPECT_EQ(win("00:08:30.0", "cmd5_Click", "Gleich", "Zehnter").at(9).at(1), "Zehnter");

    // Slower than all ten: no name form, the list still shown. A name cancelled or closed: nothing
    // stored, and the last confirmed name is kept for the next form.
    const auto before = readBytes(championsFile);
    const auto names = game.fame.championName, times = game.fame.championTime;
    EXPECT_EQ(win("00:59:00.0").size(), 10u);
    for (const char* handler : {"cmd6_Click", "champ_Close"}) {
        EXPECT_EQ(win("00:00:30.0", handler, "Zehnter", "Verworfen").at(0).at(1), "P1") << handler;
        EXPECT_FALSE(game.fame.nameConfirmed);
    }
    EXPECT_EQ(std::tie(game.fame.championName, game.fame.championTime), std::tie(names, times));
    EXPECT_EQ(readBytes(championsFile), before);

    // A name the file cannot hold is refused with a word; the form stays open with it for a change.
    pf.pushStep([this] { pf.findForm("champ")->texts["ed1"] = "Li 李 😀 Ære"; });
    pf.pushFormEvent("champ", "cmd5_Click");
    EXPECT_EQ(win("00:00:20.0", "cmd5_Click", "Li 李 😀 Ære", "Li Ære").at(0).at(1), "Li Ære");
    EXPECT_EQ(pf.messages.back(), "Der Name enthält Zeichen, die die Ruhmeshalle nicht speichern kann: 李 😀\n"
                                  "Bitte ändern Sie den Namen.");
}

TEST_F(RecordCheckTest, HallOfFameListsShowFilledPlacesOnTheCurrentTabAndDeleteClearsOnlyTheChosenTabAfterJa) {
    for (int d = 0; d < 5; ++d)  // difficulty d has 2 + d places filled
        for (int p = 1; p <= 2 + d; ++p)
            std::tie(game.fame.championName[d][p], game.fame.championDate[d][p], game.fame.championTime[d][p]) =
                std::tuple("N" + std::to_string(d) + std::to_string(p), "1.2.2024",
                           "00:0" + std::to_string(p) + ":00.0");
    game.fame.championTime[2][2] = "9 gelöscht";  // a time beginning with 9 marks an empty place
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    game.settings.difficulty = 3;
    std::vector<HeadlessPlatform::Form> seen;  // the dialog after NEIN and after JA
    auto look = [&] { pf.pushStep([&] { seen.push_back(pf.findForm("ruhm") ? *pf.findForm("ruhm") : HeadlessPlatform::Form{}); }); };
    pf.pushStep([this] { pf.selectTab(pf.forms.begin()->first, "tbs1", 2); });  // Mittel
    pf.messageBoxAnswers = {2, 1};
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&NEIN": nothing happens
    look();
    pf.pushStep([] {  // meanwhile another game in the same folder sets a record at Leicht
        const FameState mine = game.fame;
        game.fame.championName[0][1] = "Anderes Spiel";
        ASSERT_EQ(saveChampions(), FileResult::Ok);
        game.fame = mine;
    });
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&JA"
    look();
    pf.pushFormEvent("ruhm", "ruhm_Close");  // the close box acts like OK
    showHallOfFame();
    EXPECT_TRUE(pf.script.empty() && pf.forms.empty() && pf.windowEnabled);
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Wirklich löschen?", "Wirklich löschen?"}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].rows["lv3"], (Rows{{" 1.", "N21", "1.2.2024", "00:01:00.0"}, {" 3.", "N23", "1.2.2024", "00:03:00.0"},
                                         {" 4.", "N24", "1.2.2024", "00:04:00.0"}}));
    EXPECT_EQ(std::make_pair(seen[0].rows["lv2"].size(), seen[1].rows["lv2"].size()), std::make_pair(3ul, 0ul));
    EXPECT_EQ(seen[1].tabs["tbs1"], 4) << "the current difficulty, not the cleared tab";
    auto names = game.fame.championName;  // only Mittel changed, in memory and on disk
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(game.fame.championName, names);
    EXPECT_EQ(game.fame.championTime[1][1] + game.fame.championName[0][2] + game.fame.championName[2][4], "9N02N24");
    EXPECT_EQ(game.fame.championName[0][1], "Anderes Spiel");
}

}  // namespace
}  // namespace nonari::test
