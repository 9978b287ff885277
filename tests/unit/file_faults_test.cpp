// Hostile and unlucky files: pipes, devices and huge files in place of the game's files, saves that fail,
// leftovers of interrupted saves and unusable collections. Nothing may hang, nothing may be lost.
#include "app/startup.h"
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "tests/support/test_support.h"

#include <csignal>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nonari {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

std::string notWritten(const std::string& file) { return "Die Datei „" + file + "“ konnte nicht geschrieben werden."; }

int failuresSoFar() {
    const ::testing::TestResult* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    int failures = 0;
    for (int i = 0; i < result->total_part_count(); ++i) failures += result->GetTestPartResult(i).failed();
    return failures;
}

// A sanitizer reserves terabytes of address space, which no memory limit leaves room for.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define NONARI_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define NONARI_SANITIZED 1
#endif
#endif

// Runs body in a child that may neither hang nor grow without bound, as a hostile file once made the game do;
// true when it returns true and its checks hold.
bool boundedChild(const std::function<bool()>& body) {
    const int failuresBefore = failuresSoFar();
    return test::inChildProcess([&] {
        alarm(60);
#ifndef NONARI_SANITIZED
        rlimit memory{1u << 30, 1u << 30};
        setrlimit(RLIMIT_AS, &memory);
#endif
        return body() && failuresSoFar() == failuresBefore;
    });
}

// Something that is not a game file under a game file's name, and the test that it is still there as it was.
enum class Hostile { Pipe, Device, Huge, Folder };
constexpr Hostile allHostile[] = {Hostile::Pipe, Hostile::Device, Hostile::Huge, Hostile::Folder};
constexpr std::uintmax_t hugeSize = std::uintmax_t{1} << 30;

const char* describe(Hostile kind) {
    switch (kind) {
        case Hostile::Pipe: return "a pipe";
        case Hostile::Device: return "a link to /dev/zero";
        case Hostile::Huge: return "a sparse 1 GB file without a line break";
        case Hostile::Folder: return "a folder";
    }
    return "";
}

void makeHostile(const std::string& name, Hostile kind) {
    std::error_code ignored;
    fs::remove_all(name, ignored);
    switch (kind) {
        case Hostile::Pipe: ASSERT_EQ(mkfifo(name.c_str(), 0644), 0); break;
        case Hostile::Device: fs::create_symlink("/dev/zero", name); break;
        case Hostile::Huge:
            test::writeBytes(name, {'x'});
            fs::resize_file(name, hugeSize);
            break;
        case Hostile::Folder: fs::create_directory(name); break;
    }
}

bool stillAsMade(const std::string& name, Hostile kind) {
    struct stat st {};
    if (lstat(name.c_str(), &st) != 0) return false;
    switch (kind) {
        case Hostile::Pipe: return S_ISFIFO(st.st_mode);
        case Hostile::Device: return S_ISLNK(st.st_mode) && fs::read_symlink(name) == "/dev/zero";
        // Not written back at its size: still sparse.
        case Hostile::Huge: return S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) == hugeSize && st.st_blocks < 2048;
        case Hostile::Folder: return S_ISDIR(st.st_mode);
    }
    return false;
}

class FileFaultsTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(40, 30, 862, 694);
    }

    void saveBoardInSlot2() {
        pf.pushFormEvent("frm1", "opt3_Click");
        openSaveDialog();
    }
    void loadBoardFromSlot2() {
        game.dialog.currentFile = savedBoardFile;
        pf.pushFormEvent("frm1", "opt3_Click");
        openLoadDialog();
    }
    // A won game at Leicht whose time earns place 1, confirmed with a name.
    void winAndConfirm() {
        game.settings.difficulty = 0;
        game.clock.finalTime = "00:01:02.3";
        pf.pushStep([this] { pf.findForm("champ")->texts["ed1"] = "Erika"; });
        pf.pushFormEvent("champ", "cmd5_Click");
        pf.pushFormEvent("ruhm", "cmd3_Click");
        checkForRecord();
    }
};

TEST_F(FileFaultsTest, AChampionsFileThatIsNoOrdinaryFileIsNotReadAndNeverReplaced) {
    for (Hostile kind : allHostile) {
        SCOPED_TRACE(describe(kind));
        makeHostile(championsFile, kind);
        EXPECT_TRUE(boundedChild([this] {
            for (auto& list : game.fame.championTime) list.fill("alt");
            static_cast<void>(loadChampions());
            for (int d = 0; d < 5; ++d)
                for (int p = 1; p <= 10; ++p) EXPECT_EQ(game.fame.championTime[d][p], "9") << d << " " << p;
            winAndConfirm();
            EXPECT_EQ(pf.messages, std::vector<std::string>{notWritten(championsFile)});
            return true;
        }));
        EXPECT_TRUE(stillAsMade(championsFile, kind));
    }
}

TEST_F(FileFaultsTest, ABoardFileThatIsNoOrdinaryFileIsNotReadAndNeverReplacedAndCollectionsGiveWay) {
    for (Hostile kind : allHostile) {
        SCOPED_TRACE(describe(kind));
        makeHostile(savedBoardFile, kind);
        EXPECT_TRUE(boundedChild([this, kind] {
            game.puzzle.board(4, 4) = 4;
            const Grid board = game.puzzle.board;
            // A huge file is an ordinary one: its blank record is read alone, never the whole file.
            if (kind != Hostile::Huge) {
                loadBoardFromSlot2();
                EXPECT_EQ(game.puzzle.board, board);
            }
            saveBoardInSlot2();
            if (kind == Hostile::Huge) {
                // Only its first four records count: the board goes into a file of exactly four.
                EXPECT_TRUE(pf.messages.empty());
                game.puzzle.board.clear();
                loadBoardFromSlot2();
            } else {
                EXPECT_EQ(pf.messages, std::vector<std::string>{notWritten(savedBoardFile)});
            }
            EXPECT_EQ(game.puzzle.board, board);
            return true;
        }));
        if (kind == Hostile::Huge) EXPECT_EQ(fs::file_size(savedBoardFile), std::uintmax_t{8800});
        else EXPECT_TRUE(stillAsMade(savedBoardFile, kind));

        // A collection that is no ordinary file here: the shipped one is played.
        makeHostile(collectionFile(3), kind);
        EXPECT_TRUE(boundedChild([] {
            game.settings.difficulty = 3;
            static_cast<void>(loadNewGamePuzzle());
            return test::countSolutions(game.puzzle.givens) == 1;
        }));
    }
}

TEST_F(FileFaultsTest, AFailedSaveIsReportedByFileNameAndLeavesTheGameAndTheOldFiles) {
    game.dialog.currentFile = savedBoardFile;
    game.puzzle.board(1, 1) = 1;
    ASSERT_EQ(writeBoardRecord(2), FileResult::Ok);
    resetChampions();
    game.fame.championName[0][1] = "Alt", game.fame.championTime[0][1] = "00:00:09.0";
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    const Bytes oldBoards = test::readBytes(savedBoardFile), oldChampions = test::readBytes(championsFile);
    game.puzzle.board(1, 1) = 2;
    const Grid board = game.puzzle.board;

    // A folder the player may not write to: the board, a new record and a cleared list all fail.
    fs::permissions(work->path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(boundedChild([this, board] {
        if (!test::actAsOrdinaryUser()) return false;
        saveBoardInSlot2();
        winAndConfirm();
        pf.messageBoxAnswers = {1};  // "Wirklich löschen?" JA
        pf.pushFormEvent("ruhm", "cmd4_Click");
        pf.pushFormEvent("ruhm", "ruhm_Close");
        showHallOfFame();
        EXPECT_EQ(pf.messages, (std::vector<std::string>{notWritten(savedBoardFile), notWritten(championsFile),
                                                         "Wirklich löschen?", notWritten(championsFile)}));
        EXPECT_EQ(game.puzzle.board, board);
        return true;
    }));
    fs::permissions(work->path(), fs::perms::owner_all);
    EXPECT_EQ(test::readBytes(savedBoardFile), oldBoards);
    EXPECT_EQ(test::readBytes(championsFile), oldChampions);

    // A file-size limit (a full disk) fails the write; it must not end the game, which does not ask for
    // the limit's signal to be ignored the way the tests' own helper does.
    EXPECT_TRUE(test::inChildProcess([this, board] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        startNonari();
        pf.messages.clear();
        game.puzzle.board = board;
        saveBoardInSlot2();
        return pf.messages == std::vector<std::string>{notWritten(savedBoardFile)};
    }));
    EXPECT_EQ(test::readBytes(savedBoardFile), oldBoards);
    EXPECT_EQ(test::readBytes(championsFile), oldChampions);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
}

TEST_F(FileFaultsTest, StartRemovesTheLeftoversOfInterruptedSavesAndNothingElse) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string deadPid = std::to_string(gone);
    // A whole board record in a leftover: it is not what the player saved.
    game.puzzle.board(5, 5) = 5;
    game.dialog.currentFile = "brett.nnr.tmp" + deadPid + "-0";
    ASSERT_EQ(writeBoardRecord(0), FileResult::Ok);
    test::writeBytes("Champions.Rhm.tmp" + deadPid + "-17", Bytes(100, 'x'));
    const std::set<std::string> kept = {
        "brett.nnr.tmp1-0",                                  // its writer still runs (process 1 always does)
        "brett.nnr.tmp" + deadPid + "-0x", "brett.nnr.tmp" + deadPid, "brett.nnr.tmp-" + deadPid + "-1",
        "brett.nnr.tmp0-1", "notizen.txt.tmp" + deadPid + "-1",  // not of the game's naming
        "brett.nnr", "leicht.nnr.tmp" + deadPid + "-2"};        // the game never writes a collection
    for (const std::string& name : kept) test::writeBytes(name, {'k'});
    fs::create_directory("Champions.Rhm.tmp" + deadPid + "-3");  // a folder was never made by a save
    resetGameState();
    startNonari();
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(".")) left.insert(entry.path().filename().string());
    std::set<std::string> expected = kept;
    expected.insert("Champions.Rhm.tmp" + deadPid + "-3");
    EXPECT_EQ(left, expected);
    loadBoardFromSlot2();
    EXPECT_EQ(game.puzzle.board(5, 5), 0);
}

// The givens of the four records of a collection file.
std::vector<Grid> givensOf(const fs::path& file) {
    const Bytes bytes = test::readBytes(file);
    std::vector<Grid> records;
    for (std::size_t n = 0; n < 4 && (n + 1) * boardRecordSize <= bytes.size(); ++n) {
        Grid givens;
        std::copy_n(bytes.begin() + static_cast<long>(n * boardRecordSize + 100), 100, givens.cell.begin());
        records.push_back(givens);
    }
    return records;
}

TEST_F(FileFaultsTest, ACollectionHereWithoutAUsableRecordGivesWayToTheShippedOne) {
    std::mt19937 noise(7);
    Bytes garbage(20000);
    for (auto& b : garbage) b = static_cast<unsigned char>(noise());
    Bytes half = test::readBytes(test::sourceDir() / "data" / collectionFile(3));
    half.resize(2 * boardRecordSize + 1000);  // two whole records, then the file breaks off
    const std::pair<const char*, Bytes> here[] = {
        {"empty", {}}, {"garbage", garbage}, {"four blank records", Bytes(4 * boardRecordSize, 0)}, {"cut short", half}};
    for (int level = 0; level < 4; ++level) test::writeBytes(collectionFile(level), here[level].second);
    // A usable collection here is still the one played: Mittel's puzzles under Teuflisch's name.
    fs::copy_file(test::sourceDir() / "data" / collectionFile(1), collectionFile(4));

    for (int level = 0; level < 5; ++level) {
        SCOPED_TRACE(level < 4 ? here[level].first : "usable");
        const std::vector<Grid> shipped = givensOf(test::sourceDir() / "data" / collectionFile(level == 4 ? 1 : level));
        for (int draw = 0; draw < 8; ++draw) {
            game.puzzle.givens.clear();
            game.settings.difficulty = static_cast<std::int16_t>(level);
            static_cast<void>(loadNewGamePuzzle());
            EXPECT_NE(std::find(shipped.begin(), shipped.end(), game.puzzle.givens), shipped.end());
            EXPECT_EQ(game.puzzle.board, game.puzzle.givens);
        }
    }
}

}  // namespace
}  // namespace nonari
