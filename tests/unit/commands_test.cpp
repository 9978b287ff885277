// Menu commands: every id of the menu table with its effect, the idle state every command returns to, a won timed
// game, new games from the collections and from the maker of fresh puzzles; the menu bar's building, and the
// program's start (the background picture) and end (asked first, or by a signal after the save in progress).
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "files/board_record.h"
#include "files/settings_file.h"
#include "logic/levels.h"
#include "logic/puzzle_reserve.h"
#include "platform/safe_file.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace nonari {
namespace {

using C = MenuCommand;

const Grid solution =
    test::gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");

class CommandsTest : public test::HeadlessGame {
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
        EXPECT_TRUE(checked(difficultyCommand(game.settings.difficulty)));
        EXPECT_EQ(std::vector({checked(C::Numbers), checked(C::Letters), checked(C::ShowCandidates),
                               checked(C::Symmetry)}),
                  std::vector({game.settings.numbersMode, !game.settings.numbersMode, game.settings.showCandidates,
                               game.settings.symmetryOn}));
    }
    bool checked(MenuCommand command) { return pf.checks[menuId(command)]; }
    static int filled(const Grid& g) { return static_cast<int>(std::ranges::count_if(g.cell, std::identity{})); }
    // The first `count` cells of the solution in reading order, as givens.
    static void setPuzzle(int count) {
        game.puzzle.board.clear();
        game.puzzle.givens.clear();
        for (int i = 0; i < count; ++i) {
            const int c = i % 9 + 1, r = i / 9 + 1;
            game.puzzle.board(c, r) = game.puzzle.givens(c, r) = solution(c, r);
        }
    }
    // Record r of collection k holds 40 - 6k - r givens, so a count tells file and record apart; the
    // Mittel file holds a fifth record with 50, which no new game may take.
    static void writeCollections() {
        const GameState before = game;
        for (int k = 0; k <= 4; ++k) {
            game.dialog.currentFile = collectionFile(k);
            for (std::int16_t r = 0; r <= 3; ++r) {
                setPuzzle(40 - 6 * k - r);
                ASSERT_EQ(writeBoardRecord(r), FileResult::Ok);
            }
        }
        game.dialog.currentFile = "fuenf.nnr";
        setPuzzle(50);
        ASSERT_EQ(writeBoardRecord(0), FileResult::Ok);
        auto mittel = test::readBytes("mittel.nnr"), fifth = test::readBytes("fuenf.nnr");
        mittel.insert(mittel.end(), fifth.begin(), fifth.begin() + boardRecordSize);
        test::writeBytes("mittel.nnr", mittel);
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

    pf.pushStep([&] { inside = game.picker.ownBoardMode; });
    run(C::OwnBoard, [&] { EXPECT_TRUE(inside && !game.picker.ownBoardMode); });

    // A sheet names Leicht to Extrem with their own blanks and leaves the Extrem puzzle shuffled on the board.
    pf.printerAvailable = true;
    pf.printedTexts.clear();
    run(C::PrintSheets, [&] {
        std::string captions;
        for (const std::string& text : pf.printedTexts)
            if (text.starts_with("Schwierigkeit")) captions += text.substr(0, text.find(" mit ")) + "|";
        EXPECT_EQ(captions, "Schwierigkeitsgrad:   Leicht|Schwierigkeitsgrad:   Mittel|Schwierigkeitsgrad:  Schwer|"
                            "Schwierigkeitsgrad:  Extrem|");
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
    const Grid last = game.puzzle.board;
    Win_0_MenuEvent(777);  // an id of no item
    expectIdle();
    EXPECT_EQ(game.puzzle.board, last);
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
    test::writeBytes(settingsFile, {0xFF, '\n'});
    EXPECT_TRUE(loadSettings() == FileResult::Ok && !game.settings.freshPuzzles) << "what it cannot read is off";
}

TEST_F(CommandsTest, NewGameWithoutAUsablePuzzleOfTheLevelSaysSoAndStartsNoGame) {
    // Neither the player's Extrem nor the one in the data folder holds a puzzle; the last game's board is solved.
    std::filesystem::create_directory("daten");
    test::writeBytes("extrem.nnr", std::vector<unsigned char>(4 * boardRecordSize, 0));
    test::writeBytes("daten/extrem.nnr", std::vector<unsigned char>(4 * boardRecordSize, 0));
    setenv("NONARI_DATA_DIR", (std::filesystem::current_path() / "daten").c_str(), 1);
    game.settings.difficulty = 3;
    setPuzzle(81);
    game.clock.finalTime = "00:01:00.0";
    pf.pushStep([] { ADD_FAILURE() << "a play screen was entered"; });
    Win_0_MenuEvent(menuId(C::NewGame));
    unsetenv("NONARI_DATA_DIR");
    EXPECT_EQ(pf.messages, std::vector<std::string>{"Es konnte kein Rätsel der Stufe „Extrem“ gelesen werden. "
                                                    "Es wurde kein neues Spiel gestartet."});
    EXPECT_EQ(filled(game.puzzle.board), 81);
    EXPECT_EQ(game.clock.finalTime, "00:01:00.0");
    expectIdle();
}

TEST_F(CommandsTest, ACommandDuringATimedGameStopsItsClockForGoodExceptTheClashMarksSwitch) {
    bool runningAfterMarks = false, runningAfterNested = true;
    pf.pushMenu(menuId(C::MarkClashes));
    pf.pushStep([&] { runningAfterMarks = game.clock.clockRunning; });
    pf.pushMenu(menuId(C::Numbers));
    pf.pushStep([&] { runningAfterNested = game.clock.clockRunning; });
    pf.pushKeyUp(27);
    Win_0_MenuEvent(menuId(C::NewGame));
    EXPECT_TRUE(runningAfterMarks);
    EXPECT_FALSE(runningAfterNested);
}

using StartupTest = test::HeadlessGame;

TEST_F(StartupTest, AFailingMenuItemDestroysThePartlyBuiltBarAndANewBarReplacesTheOld) {
    struct FailingMenuPlatform : HeadlessPlatform {
        bool appendMenuItem(MenuId menu, int id, const std::string& caption) override {
            return id != 41 && HeadlessPlatform::appendMenuItem(menu, id, caption);
        }
    } failing;
    installPlatform(&failing);
    EXPECT_FALSE(buildMenuBar());
    EXPECT_TRUE(failing.menus.empty() && failing.menuBar == 0);
    installPlatform(&pf);
    ASSERT_TRUE(buildMenuBar());
    const MenuId first = pf.menuBar;
    ASSERT_TRUE(buildMenuBar());
    EXPECT_EQ(pf.menus.count(first), 0u);
}

// With "Frische Rätsel" kept from an earlier run, the maker runs from the start and ends with the program.
TEST_F(StartupTest, EndingIsAskedFirstAndUnwindsANestedPlayLoop) {
    const std::string kept = "frische_raetsel=1\n";
    test::writeBytes(settingsFile, {kept.begin(), kept.end()});
    pf.endWhenScriptEmpty = false;
    pf.messageBoxAnswers = {2, 1};
    pf.pushStep([] { Win_0_Close(); });  // NEIN: the game goes on
    pf.pushStep([this] { EXPECT_FALSE(pf.appEnding()); });
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
        test::writeBytes("muster.jpg", bytes);
        pf.backgroundPictures.clear();
        startNonari();
        EXPECT_EQ(pf.backgroundPictures, bytes != wide && bytes != cut ? std::vector{bytes.size()} : std::vector<std::size_t>{});
    }
}

TEST_F(StartupTest, ASignalToEndLetsTheSaveInProgressFinishThenEndsWithoutAsking) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove(savedBoardFile);
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
                for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(child) + "/fd", error))
                    saving = saving || std::filesystem::read_symlink(fd.path(), error).filename() == saveLockFile;
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

}  // namespace
}  // namespace nonari
