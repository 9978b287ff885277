// Menu commands and the idle state they leave, new and fresh games, the program's start and end, folders, helpers.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "fame/champions_file.h"
#include "files/board_record.h"
#include "files/settings_file.h"
#include "help/help_launch.h"
#include "help/info_dialog.h"
#include "logic/levels.h"
#include "logic/puzzle_reserve.h"
#include "platform/child_process.h"
#include "platform/folders.h"
#include "platform/safe_file.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace nonari::test {
namespace {

namespace fs = std::filesystem;

using C = MenuCommand;

const Grid solution = gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");

class CommandsTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.endWhenScriptEmpty = false;
        pf.setMainWindowHandlers({Win_0_MenuEvent, Win_0_MouseMove, Win_0_Close});
        game.screen.uhr = pf.createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
        ASSERT_TRUE(buildMenuBar());
        updateMenuChecks();
        writeCollections();
    }

    void expectIdle() {
        EXPECT_EQ(game.screen.helpText, helpTextChooseMenu);
        EXPECT_FALSE(game.clock.clockRunning || game.dialog.abortInput);
        EXPECT_EQ(pf.labelText(game.screen.uhr), idleClockText);
        EXPECT_EQ(std::vector({checked(difficultyCommand(game.settings.difficulty)), checked(C::Numbers),
                               checked(C::Letters), checked(C::ShowCandidates), checked(C::Symmetry)}),
                  std::vector({true, game.settings.numbersMode, !game.settings.numbersMode,
                               game.settings.showCandidates, game.settings.symmetryOn}));
    }
    bool checked(MenuCommand command) { return pf.checks[menuId(command)]; }
    static int filled(const Grid& g) { return static_cast<int>(std::ranges::count_if(g.cell, std::identity{})); }
    // The first `count` cells of the solution in reading order, as givens.
    static void setPuzzle(int count) {
        game.puzzle.board.clear();
        for (int i = 0; i < count; ++i) game.puzzle.board(i % 9 + 1, i / 9 + 1) = solution(i % 9 + 1, i / 9 + 1);
        game.puzzle.givens = game.puzzle.board;
    }
    // Record r of collection k holds 40 - 6k - r givens, so a count tells file and record apart; the
    // Mittel file holds a fifth record with 50, which no new game may take.
    static void writeCollections() {
        const GameState before = game;
        for (int k = 0; k <= 4; ++k) {
            game.dialog.currentFile = collectionFile(k);
            for (std::int16_t r = 0; r <= 3; ++r) { setPuzzle(40 - 6 * k - r); ASSERT_EQ(writeBoardRecord(r), FileResult::Ok); }
        }
        game.dialog.currentFile = "fuenf.nnr";
        setPuzzle(50);
        ASSERT_EQ(writeBoardRecord(0), FileResult::Ok);
        auto mittel = readBytes("mittel.nnr"), fifth = readBytes("fuenf.nnr");
        mittel.insert(mittel.end(), fifth.begin(), fifth.begin() + boardRecordSize);
        writeBytes("mittel.nnr", mittel);
        game = before;
    }
};

TEST_F(CommandsTest, EveryCommandOfTheMenuTableHasItsEffectAndEndsIdle) {
    std::set<int> menuIds, tried;
    for (const auto& [menu, entries] : pf.menus)
        for (const auto& entry : entries)
            if (entry.kind == HeadlessPlatform::MenuEntry::Item) menuIds.insert(entry.id);
    bool inside = false;  // what a step saw while the command ran
    auto run = [&](MenuCommand command, const std::function<void()>& check) {
        SCOPED_TRACE(menuId(command));
        inside = false;
        pf.pushKeyUp(27);  // a play screen the command opens is left at once
        Win_0_MenuEvent(menuId(command));
        check();
        expectIdle();
        pf.script.clear();
        tried.insert(menuId(command));
    };

    pf.pushStep([&] { inside = pf.findForm("Inf") != nullptr; });
    pf.pushFormEvent("Inf", "Inf_Close");
    run(C::About, [&] { EXPECT_TRUE(inside) << "the information dialog"; });

    game.settings.difficulty = 1;
    game.clock.finalTime = "00:00:01.0";
    std::vector<std::string> shown;  // the clock at the start, during the record check and after the win
    auto look = [&] { pf.pushStep([&] { shown.push_back(pf.labelText(game.screen.uhr)); }); };
    look();
    pf.pushStep([&] { inside = game.clock.clockRunning && game.clock.finalTime == "X"; });
    // NEIN to "Spiel beenden?" goes on with the timed game, which the last open cell then wins.
    pf.messageBoxAnswers = {2};
    pf.pushMenu(menuId(C::Exit));
    pf.pushStep([] { setPuzzle(80); });
    pf.pushClick(EventKind::LeftPress, 29 + 8 * 60 + 30, 45 + 8 * 60 + 30);
    pf.pushChar('0' + solution(9, 9));
    look();
    pf.pushFormEvent("champ", "champ_Close");
    pf.pushFormEvent("ruhm", "ruhm_Close");
    look();
    run(C::NewGame, [&] {
        EXPECT_TRUE(inside && !game.clock.gameWon);
        EXPECT_EQ(game.screen.statusText + game.clock.finalTime.substr(0, 6), "Brett gelöst!!!00:00:");
        EXPECT_EQ(shown, (std::vector<std::string>{startClockText, game.clock.finalTime, idleClockText}));
    });

    // Spielstart plays untimed: the last open cell solves the board but asks for no name.
    std::string help;
    pf.pushStep([&] { inside = !game.clock.clockRunning, help = game.screen.helpText; setPuzzle(80); });
    pf.pushClick(EventKind::LeftPress, 29 + 8 * 60 + 30, 45 + 8 * 60 + 30);
    pf.pushChar('0' + solution(9, 9));
    pf.pushStep([&] { inside &= pf.findForm("champ") == nullptr; });
    pf.pushFormEvent("champ", "champ_Close");  // these two close what a fault would open, so that it cannot hang
    pf.pushFormEvent("ruhm", "ruhm_Close");
    run(C::StartGame, [&] {
        EXPECT_TRUE(inside && game.puzzle.board == solution) << "the play screen, untimed";
        EXPECT_EQ(help, "Schwierigkeit: Leicht") << "the level of a board with one solution";
    });
    // A board without exactly one solution is played only on JA.
    const std::size_t messages = pf.messages.size();
    setPuzzle(30);
    pf.messageBoxAnswers = {2};
    run(C::StartGame, [&] {
        EXPECT_EQ(pf.messages.size(), messages + 1);
        EXPECT_TRUE(pf.messages.back().starts_with("Dieses Brett hat mehr als eine Lösung"));
        EXPECT_EQ(pf.script.size(), 1u) << "no play screen read the Escape";
    });
    pf.pushFormEvent("frm1", "cmd2_Click");  // lade Brett cancelled: the board on show is asked about no more
    run(C::LoadBoard, [&] { EXPECT_EQ(pf.messages.size(), messages + 1); });

    pf.pushStep([&] { inside = game.picker.ownBoardMode; });
    run(C::OwnBoard, [&] { EXPECT_TRUE(inside && !game.picker.ownBoardMode); });

    // A sheet names Leicht to Extrem with their own blanks and leaves the Extrem puzzle shuffled on the board.
    pf.printerAvailable = true;
    pf.printedTexts.clear();
    run(C::PrintSheets, [&] {
        std::string captions;  // after "Schwierigkeitsgrad:"
        for (const std::string& text : pf.printedTexts)
            if (text.starts_with("Schwierigkeitsgrad:")) captions += text.substr(19, text.find(" mit ") - 19) + "|";
        EXPECT_EQ(captions, "   Leicht|   Mittel|  Schwer|  Extrem|");
        const int count = filled(game.puzzle.givens);
        EXPECT_TRUE(count >= 19 && count <= 22 && game.puzzle.board == game.puzzle.givens) << count;
        const Grid printed = game.puzzle.givens;
        setPuzzle(count);
        EXPECT_NE(printed, game.puzzle.givens) << "the stored puzzle is printed shuffled";
    });

    // Slot 3 of brett.nnr: a board saved from the menu is the board loaded from it.
    setPuzzle(23);
    game.puzzle.candidates(9, 9, 9) = true;
    const GameState saved = game;
    pf.pushFormEvent("frm1", "opt3_Click");
    run(C::SaveBoard, [&] { EXPECT_EQ(game.dialog.currentFile, savedBoardFile); });
    setPuzzle(5);
    pf.pushFormEvent("frm1", "opt3_Click");
    run(C::LoadBoard, [&] {
        EXPECT_EQ(std::tie(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates),
                  std::tie(saved.puzzle.board, saved.puzzle.givens, saved.puzzle.candidates));
        EXPECT_TRUE(pf.messages.size() == messages + 2 && pf.script.empty()) << "asked, and played on the default JA";
    });

    setPuzzle(60);
    game.clock.clockRunning = true;  // a timed game: the label shows the idle text after, not a last time
    pf.setLabelText(game.screen.uhr, " 00:02:07");
    run(C::SolveBoard, [&] { EXPECT_EQ(game.puzzle.board, solution); });

    setPuzzle(30);
    run(C::ShuffleBoard, [&] {
        EXPECT_EQ(std::make_pair(filled(game.puzzle.givens), filled(game.puzzle.board)), std::make_pair(30, 30));
    });

    setPuzzle(30);
    game.puzzle.board(9, 9) = 9;
    game.puzzle.candidates(8, 8, 1) = true;
    const Grid givens = game.puzzle.givens;
    run(C::RestartBoard,
        [&] { EXPECT_TRUE(game.puzzle.board == givens && game.puzzle.candidates == CandidateGrid{}); });

    game.puzzle.board(0, 0) = game.puzzle.givens(0, 5) = 7;  // the whole arrays, the unused row and column too
    game.puzzle.candidates(0, 0, 0) = game.puzzle.candidates(9, 9, 9) = true;
    run(C::ClearBoard, [&] {
        const PuzzleState& puzzle = game.puzzle;
        EXPECT_TRUE(puzzle.board == Grid{} && puzzle.givens == Grid{} && puzzle.candidates == CandidateGrid{});
    });

    setPuzzle(12);
    game.puzzle.board(9, 9) = 9;  // an entry, no given
    game.settings.difficulty = 4;
    pf.printedTexts.clear();
    run(C::PrintBoard, [&] { EXPECT_EQ(pf.printedTexts.back(), "Schwierigkeitsgrad: Teuflisch mit 12 Zahlen"); });
    // A printer that breaks down mid-job says so; a sheet keeps the Leicht puzzle it had loaded by then.
    pf.printerBreaksAfterTexts = 5;
    pf.printedTexts.clear();
    pf.messages.clear();
    run(C::PrintBoard, [&] { EXPECT_EQ(pf.messages, std::vector<std::string>{"Druckerfehler!"}); });
    pf.printedTexts.clear();
    run(C::PrintSheets, [&] { EXPECT_TRUE(pf.messages.size() == 2 && filled(game.puzzle.givens) >= 37); });
    pf.printerAvailable = false;
    setPuzzle(12);

    for (int d : {3, 0, 4, 2, 1}) run(difficultyCommand(d), [d] { EXPECT_EQ(game.settings.difficulty, d); });
    pf.recordTexts = true;  // the twelve cells are drawn again as letters, beside the nine of the header
    run(C::Letters, [&] {
        EXPECT_FALSE(game.settings.numbersMode);
        EXPECT_EQ(std::ranges::count_if(pf.drawnTexts, [](auto& t) { return t.size() == 1 && t >= "A" && t <= "I"; }), 21);
    });
    run(C::Numbers, [] { EXPECT_TRUE(game.settings.numbersMode); });
    game.puzzle.candidates(2, 2, 2) = true;
    run(C::ShowCandidates, [] { EXPECT_TRUE(game.settings.showCandidates && !game.puzzle.candidates(2, 2, 2)); });
    run(C::ShowCandidates, [] { EXPECT_TRUE(!game.settings.showCandidates && game.puzzle.candidates == CandidateGrid{}); });
    for (bool on : {false, true}) {
        run(C::Symmetry, [on] { EXPECT_EQ(game.settings.symmetryOn, on); });
        run(C::MarkClashes, [&] { EXPECT_TRUE(game.settings.markClashes == on && checked(C::MarkClashes) == on); });
        run(C::FreshPuzzles, [on] { EXPECT_NE(game.settings.freshPuzzles, on); });
    }

    pf.pushStep([&] { inside = pf.findForm("ruhm") != nullptr; });
    pf.pushFormEvent("ruhm", "ruhm_Close");
    run(C::HallOfFame, [&] { EXPECT_TRUE(inside) << "the hall of fame"; });

    game.dialog.useHtmlHelp = true;
    run(C::Manual, [&] { EXPECT_TRUE(!pf.helpShown.empty() && pf.helpShown.back().ends_with("#übersicht.htm")); });

    pf.messageBoxAnswers = {2};
    run(C::Exit, [&] { EXPECT_TRUE(pf.messages.back() == "Spiel beenden?" && !pf.appEnding()); });

    EXPECT_EQ(tried, menuIds) << "every id of the menu table";
}

// The maker keeps a spare of each level, a new one after each taken, and ends even while it digs. A new game takes
// a spare only while "Frische Rätsel" is on, a setting kept between runs; else one of the first four records.
TEST_F(CommandsTest, NewGamesComeFromTheCollectionOfTheDifficultyOrWhileSwitchedOnFromTheMaker) {
    EXPECT_FALSE(takeFreshPuzzle(0)) << "no maker, no spare";
    startFreshPuzzles(11);
    auto waitForSpare = [](int level) {  // a test that never gets one fails by its time limit
        while (!freshPuzzleReady(level)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    waitForSpare(0);
    const Puzzle first = *takeFreshPuzzle(0);
    waitForSpare(0);
    EXPECT_TRUE(first != *takeFreshPuzzle(0) && fitsLevel(first, 0));
    EXPECT_FALSE(takeFreshPuzzle(5));
    pf.endWhenScriptEmpty = true;  // the play screen returns at once
    auto newGameGivens = [&] {
        Win_0_MenuEvent(menuId(C::NewGame));
        pf.ending = false;
        return puzzleOf(game.puzzle.givens);
    };
    waitForSpare(1);
    for (int k : {1, 3}) {
        game.settings.difficulty = static_cast<std::int16_t>(k);
        std::set<int> counts, records;
        for (int r = 0; r <= 3; ++r) records.insert(40 - 6 * k - r);
        for (int i = 0; i < 40; ++i) {
            const Puzzle given = newGameGivens();
            counts.insert(game.puzzle.board == game.puzzle.givens && !fitsLevel(given, k) ? givenCount(given) : -1);
        }
        EXPECT_EQ(counts, records) << "difficulty " << k;
    }

    auto kept = [] {  // the setting as the next run reads it
        game.settings.freshPuzzles = !game.settings.freshPuzzles;
        return loadSettings() == FileResult::Ok ? game.settings.freshPuzzles : !game.settings.freshPuzzles;
    };
    game.settings.difficulty = 1;
    Win_0_MenuEvent(menuId(C::FreshPuzzles));
    EXPECT_TRUE(game.settings.freshPuzzles && checked(C::FreshPuzzles) && kept());
    waitForSpare(1);
    const Puzzle fresh = newGameGivens();  // shuffled like a stored one, still of its level
    EXPECT_TRUE(fitsLevel(fresh, 1));
    EXPECT_NE(newGameGivens(), fresh) << "no spare yet, or another: never the same";
    static_cast<void>(takeFreshPuzzle(4));  // now it digs for Teuflisch, and is stopped in the middle
    Win_0_MenuEvent(menuId(C::FreshPuzzles));
    EXPECT_FALSE(game.settings.freshPuzzles || kept() || takeFreshPuzzle(4));
    writeBytes(settingsFile, {0xFF, '\n'});
    EXPECT_TRUE(loadSettings() == FileResult::Ok && !game.settings.freshPuzzles) << "what it cannot read is off";
    Win_0_MenuEvent(menuId(C::FreshPuzzles));  // the player's own line stays; a file not ours is never replaced
    const std::vector<unsigned char> saved = readBytes(settingsFile);
    EXPECT_EQ(std::string(saved.begin(), saved.end()), "# Nonari: Einstellungen\n\xFF\nfrische_raetsel=1\n");
    const std::vector<unsigned char> large(5000, 'x');
    writeBytes(settingsFile, large);
    Win_0_MenuEvent(menuId(C::FreshPuzzles));
    EXPECT_EQ(readBytes(settingsFile), large);
}

TEST_F(CommandsTest, NewGameWithoutAUsablePuzzleOfTheLevelSaysSoAndStartsNoGame) {
    // Neither the player's Extrem nor the one in the data folder holds a puzzle; the last game's board is solved.
    fs::create_directory("daten");
    for (const char* name : {"extrem.nnr", "daten/extrem.nnr"}) writeBytes(name, std::vector<unsigned char>(4 * boardRecordSize, 0));
    setenv("NONARI_DATA_DIR", (fs::current_path() / "daten").c_str(), 1);
    game.settings.difficulty = 3;
    setPuzzle(81);
    game.clock.finalTime = "00:01:00.0";
    pf.pushStep([] { ADD_FAILURE() << "a play screen was entered"; });
    Win_0_MenuEvent(menuId(C::NewGame));
    unsetenv("NONARI_DATA_DIR");
    EXPECT_EQ(pf.messages, std::vector<std::string>{"Es konnte kein Rätsel der Stufe „Extrem“ gelesen werden. "
                                                    "Es wurde kein neues Spiel gestartet."});
    EXPECT_TRUE(filled(game.puzzle.board) == 81 && game.clock.finalTime == "00:01:00.0");
    expectIdle();
}

TEST_F(CommandsTest, ACommandDuringATimedGameStopsItsClockForGoodExceptTheClashMarksSwitch) {
    bool runningAfterMarks = false, runningAfterHint = true, runningAfterNested = true, coveredInEntry = true;
    pf.pushMenu(menuId(C::MarkClashes));
    pf.pushStep([&] { runningAfterMarks = game.clock.clockRunning; });
    pf.pushMenu(menuId(C::OwnBoard));  // a hint in the entry is help for the game it was opened from
    pf.pushKeyUp('T');
    pf.pushStep([&] { runningAfterHint = game.clock.clockRunning; });
    pf.pushKeyUp(27);
    pf.pushMenu(menuId(C::Numbers));
    pf.pushStep([&] { runningAfterNested = game.clock.clockRunning; });
    pf.pushKeyUp(27);
    Win_0_MenuEvent(menuId(C::NewGame));
    EXPECT_TRUE(runningAfterMarks);
    EXPECT_FALSE(runningAfterHint || runningAfterNested);
    pf.pushKeyUp('P');
    pf.pushMenu(menuId(C::OwnBoard));  // chosen in a pause: the entry shows the board, not the cover
    pf.pushStep([&] { coveredInEntry = game.screen.boardCovered; });
    pf.pushKeyUp(27), pf.pushKeyUp(27);
    Win_0_MenuEvent(menuId(C::NewGame));
    EXPECT_FALSE(coveredInEntry);
}

using StartupTest = HeadlessGame;

// With "Frische Rätsel" kept from an earlier run, the maker runs from the start and ends with the program.
TEST_F(StartupTest, EndingIsAskedFirstAndUnwindsANestedPlayLoop) {
    const std::string kept = "frische_raetsel=1\n";
    writeBytes(settingsFile, {kept.begin(), kept.end()});
    pf.endWhenScriptEmpty = false;
    pf.messageBoxAnswers = {2, 1};
    pf.pushStep([this] { Win_0_Close(); EXPECT_FALSE(pf.appEnding()) << "NEIN: the game goes on"; });
    pf.pushMenu(menuId(MenuCommand::StartGame));  // a play loop ...
    pf.pushMenu(menuId(MenuCommand::Exit));  // ... inside which the player ends the program with JA
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding() && !pf.windowOpen && !game.clock.clockRunning);
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Spiel beenden?", "Spiel beenden?"}));
    EXPECT_TRUE(game.settings.freshPuzzles && pf.checks[menuId(MenuCommand::FreshPuzzles)]);
    EXPECT_FALSE(takeFreshPuzzle(4)) << "the maker has ended";
}

TEST_F(StartupTest, TheBackgroundPictureIsHandedOnOnlyWhenItsHeaderClaimsABoundedPicture) {
    // SOI, an APP0 segment, then a frame header of 16 x 16 pixels, one component.
    const std::vector<unsigned char> small = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC0, 0, 11, 8, 0, 16, 0, 16, 1, 1, 0x11, 0};
    auto most = small, wide = small, cut = small, png = small;
    most[13] = most[15] = wide[13] = wide[15] = 0x10, most[14] = most[16] = wide[16] = 0;  // 4096 x 4096: the limit
    wide[14] = 1;     // one row more
    cut.resize(17);   // breaks off inside the frame header
    png.assign({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x10, 0, 0, 0, 0x10, 0,
                8, 2, 0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0, 'I', 'E', 'N', 'D', 5, 6, 7, 8});
    for (const auto& bytes : {small, most, wide, cut, png}) {
        writeBytes("muster.jpg", bytes);
        pf.backgroundPictures.clear();
        startNonari();
        EXPECT_EQ(pf.backgroundPictures, bytes != wide && bytes != cut ? std::vector{bytes.size()} : std::vector<std::size_t>{});
    }
}

TEST_F(StartupTest, ASignalToEndLetsTheSaveInProgressFinishThenEndsWithoutAsking) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        fs::remove(savedBoardFile);
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            char c = 0;
            bool later = false;
            pf.pushStep([] { game.puzzle.board(6, 6) = 6; });
            pf.pushMenu(menuId(MenuCommand::SaveBoard));
            pf.pushFormEvent("frm1", "opt2_Click");  // waits for the other game's lock
            pf.pushStep([&later] { later = true; });  // the signal is taken first
            _exit(read(go[0], &c, 1) == 1 && runNonari() == 0 && !later && pf.messages.empty() ? 0 : 1);
        }
        {
            const SaveLock otherGame;
            ASSERT_EQ(write(go[1], "g", 1), 1);
            // The save is under way once the child has the lock file open.
            bool saving = false;
            for (int tries = 0; tries < 1000 && !saving; ++tries, usleep(5000)) {
                std::error_code error;
                for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(child) + "/fd", error))
                    saving = saving || fs::read_symlink(fd.path(), error).filename() == saveLockFile;
            }
            EXPECT_TRUE(saving);
            kill(child, signal);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        game.dialog.currentFile = savedBoardFile;
        EXPECT_TRUE(readBoardRecord(1) == FileResult::Ok && game.puzzle.board(6, 6) == 6);
        close(go[0]), close(go[1]);
    }
}

// Runs a test's body in a child, whose changes to the environment end with it; true when every check held.
bool ownEnvironment(const std::function<void()>& body) {
    return inChildProcess([&] { return body(), !::testing::Test::HasFailure(); });
}

using FoldersTest = HeadlessGame;

TEST_F(FoldersTest, ThePlayersFolderIsNonariHomeElseXdgDataHomeElseTheHomesLocalShare) {
    EXPECT_TRUE(ownEnvironment([] {
        setenv("NONARI_HOME", "/spiele/nonari", 1), setenv("XDG_DATA_HOME", "/daten", 1), setenv("HOME", "/home/sp", 1);
        EXPECT_EQ(playerFolder(), fs::path("/spiele/nonari"));
        setenv("NONARI_HOME", "", 1);  // set but empty counts as not set
        EXPECT_EQ(playerFolder(), fs::path("/daten/nonari"));
        setenv("XDG_DATA_HOME", "relativ/daten", 1);  // a relative base folder is ignored
        EXPECT_EQ(playerFolder(), fs::path("/home/sp/.local/share/nonari"));
        unsetenv("XDG_DATA_HOME"), unsetenv("HOME");  // no login environment: the user database knows the home
        EXPECT_TRUE(playerFolder().is_absolute() && playerFolder().filename() == "nonari") << playerFolder();
    }));
}

TEST_F(FoldersTest, TheFolderIsCreatedAndEnteredAndAnUnusableOneLeavesTheWorkingFolderWithAMessage) {
    const fs::path start = fs::current_path();
    EXPECT_TRUE(ownEnvironment([&] {
        setenv("NONARI_HOME", (start / "neu" / "tief" / "nonari").c_str(), 1);
        EXPECT_EQ(enterPlayerFolder(), "");
        EXPECT_EQ(fs::current_path(), start / "neu" / "tief" / "nonari");
        EXPECT_EQ(enterPlayerFolder(), "");  // a second start finds it in place
        fs::current_path(start);
        writeBytes(start / "datei", {'x'});
        for (const fs::path& unusable : {start / "datei", start / "datei" / "nonari"}) {
            setenv("NONARI_HOME", unusable.c_str(), 1);
            const std::string message = enterPlayerFolder();
            EXPECT_NE(message.find("Der Spielordner " + unusable.string() + " kann nicht"), std::string::npos) << message;
            EXPECT_NE(message.find("im Ordner " + start.string() + "."), std::string::npos) << message;
            EXPECT_EQ(fs::current_path(), start);
        }
        EXPECT_EQ(readBytes(start / "datei"), std::vector<unsigned char>{'x'});
        // The player reads the message once the window is open, and the game goes on.
        const std::string message = enterPlayerFolder();
        EXPECT_EQ(runNonari(message), 0);
        EXPECT_EQ(pf.messages, std::vector<std::string>{message});
    }));

    // A folder the player may only read is the player's folder all the same: boards and records are read from it.
    fs::permissions(start, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    fs::create_directory(start / "fremd");
    fs::current_path(start / "fremd");
    game.puzzle.board(2, 3) = 4;
    game.dialog.currentFile = savedBoardFile;
    game.fame.championName[1][1] = "Alt";
    ASSERT_TRUE(writeBoardRecord(0) == FileResult::Ok && saveChampions() == FileResult::Ok);
    fs::current_path(start);
    fs::permissions(start / "fremd", static_cast<fs::perms>(0555));
    resetGameState();
    EXPECT_TRUE(inChildProcess([&] {
        setenv("NONARI_HOME", (start / "fremd").c_str(), 1);
        if (!actAsOrdinaryUser() || !enterPlayerFolder().empty() || fs::current_path() != start / "fremd") return false;
        game.dialog.currentFile = savedBoardFile;
        return readBoardRecord(0) == FileResult::Ok && game.puzzle.board(2, 3) == 4 &&
               loadChampions() == FileResult::Ok && game.fame.championName[1][1] == "Alt" &&
               !enterFolder(start / "fremd" / "nonari");
    }));
}

TEST_F(FoldersTest, CollectionsComeFromThePlayersFolderFirstAndTheManualOnlyFromTheProgramsData) {
    EXPECT_TRUE(ownEnvironment([this] {
        // Nothing here yet: the shipped copy, found beside the program.
        const fs::path shipped = locateBoardFile("leicht.nnr");
        EXPECT_TRUE(fs::equivalent(shipped, sourceDir() / "data" / "leicht.nnr")) << shipped;
        writeBytes("leicht.nnr", readBytes(shipped));
        EXPECT_EQ(locateBoardFile("leicht.nnr"), "leicht.nnr");
        // A data folder named in the environment comes before the others; saved boards are never looked up there.
        fs::create_directory("daten");
        writeBytes("daten/mittel.nnr", {1, 2, 3});
        writeBytes("daten/brett.nnr", {1, 2, 3});
        writeBytes("daten/nonari.chm", {4, 5, 6});
        setenv("NONARI_DATA_DIR", (fs::current_path() / "daten").c_str(), 1);
        EXPECT_EQ(fs::path(locateBoardFile("mittel.nnr")), fs::current_path() / "daten" / "mittel.nnr");
        EXPECT_EQ(locateBoardFile("brett.nnr"), "brett.nnr");
        EXPECT_EQ(locateBoardFile("../daten/brett.nnr"), "../daten/brett.nnr");

        // A manual in the player's folder is never opened; without a data folder named, the shipped one beside the
        // program is. A manual that cannot be shown is named in a message.
        writeBytes("nonari.chm", {'k', 'a', 'p', 'u', 't', 't'});
        game.dialog.useHtmlHelp = true;
        showManualOverview();
        unsetenv("NONARI_DATA_DIR");
        runPlayCommand(PlayCommand::Help, PlayMode::Game);  // the Hilfe button
        const std::string manual = shippedFile("nonari.chm").string();
        EXPECT_TRUE(fs::equivalent(manual, sourceDir() / "data" / "nonari.chm")) << manual;
        EXPECT_EQ(pf.helpShown, (std::vector<std::string>{(fs::current_path() / "daten" / "nonari.chm").string() +
                                                          "#übersicht.htm", manual + "#erklärung.htm"}));
        pf.helpSucceeds = false;
        showRulesHelp();
        EXPECT_EQ(pf.messages, std::vector<std::string>{"Error while trying to display a topic of nonari.chm"});
    }));
}

TEST_F(FoldersTest, InformationDialogClosesByButtonAndCloseBoxAlikeAndWhenTheProgramEnds) {
    pf.openMainWindow(81, 5, 862, 723);
    for (const std::string handler : {"cmd15_Click", "Inf_Close"}) {
        game.dialog.dialogClosed = false;
        bool openAndModal = false;
        pf.pushStep([&] { openAndModal = pf.findForm("Inf") && !pf.windowEnabled; });
        pf.pushFormEvent("Inf", handler);
        pf.pushStep([] {});  // would run if the dialog kept waiting
        showInformation();
        EXPECT_TRUE(openAndModal && pf.windowEnabled && game.dialog.dialogClosed && !pf.findForm("Inf")) << handler;
        EXPECT_EQ(std::exchange(pf.script, {}).size(), 1u) << handler << ": the dialog returned right after the close";
    }
    showInformation();  // no script: the program ends while the dialog waits
    EXPECT_TRUE(pf.ending && pf.windowEnabled && !pf.findForm("Inf"));
}

ChildOutput shell(const std::string& script, ChildLimits limits = {}) {
    return runLimitedChild("/bin/sh", {"-c", script}, limits);
}

std::string text(const ChildOutput& out) { return {out.output.begin(), out.output.end()}; }

TEST(ChildProcess, AWellBehavedChildHandsOverItsOutputAMisbehavingOneNothingNoneIsLeftOverOrGetsMoreMemory) {
    const int ours = open("/dev/null", O_RDONLY);  // not closed on exec: the child must not get it anyway
    ASSERT_GE(ours, 3);
    // Standard input and error are /dev/null; no other descriptor is open in the child.
    ChildOutput out = shell("read line; echo \"[$line]\"; echo fehler >&2; ls /proc/$$/fd; exit 3");
    close(ours);
    EXPECT_TRUE(out.exitCode == 3 && text(out) == "[]\n0\n1\n2\n") << text(out);
    out = shell("head -c 100000 /dev/zero");  // more than one pipe's worth
    EXPECT_TRUE(out.exitCode == 0 && out.output.size() == 100000u);

    const ChildLimits quick{.cpuSeconds = 1, .wallMilliseconds = 300, .outputBytes = 4096};
    const std::pair<const char*, ChildLimits> misbehaving[] = {
        {"echo halb; kill -SEGV $$", quick},                   // killed by a signal
        {"echo halb; exec sleep 60", quick},                   // never ends
        {"exec >&-; exec sleep 60", quick},                    // ends its output but not itself
        {"head -c 5000 /dev/zero", quick},                     // ends, but wrote more than it may
        // Spins for many processor seconds, well within its wall time, then would end by itself.
        {"i=0; while [ $i -lt 10000000 ]; do i=$((i+1)); done; echo fertig",
         {.cpuSeconds = 1, .wallMilliseconds = 60000}},
    };
    for (const auto& [script, limits] : misbehaving) {
        out = shell(script, limits);
        EXPECT_TRUE(!out.exitCode && out.output.empty()) << script;
    }
    // A program that is not there cannot be started: status 127 from the child, no output.
    EXPECT_EQ(runLimitedChild("/nonexistent/nonari-manual-page", {}, quick).exitCode, std::optional<int>(127));
    EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child left as a zombie or running";

    const std::string grab = "dd if=/dev/zero bs=200M count=1 of=/dev/null status=none && echo ok";  // a 200 MB buffer
    EXPECT_NE(text(shell(grab, {.memoryBytes = 64u << 20})), "ok\n");
    // Ample time: on a busy machine the copy may take seconds, and a child stopped for time gives no output either.
    EXPECT_EQ(text(shell(grab, {.wallMilliseconds = 60000, .memoryBytes = 1u << 30})), "ok\n");
}

}  // namespace
}  // namespace nonari::test
