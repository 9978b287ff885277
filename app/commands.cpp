// The one dispatcher of every command: the menu's, and those of the play loops' painted buttons and keys.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"

#include "app/menu.h"
#include "app/play_keys.h"
#include "app/play_loops.h"
#include "app/startup.h"
#include "fame/hall_of_fame.h"
#include "files/board_record.h"
#include "files/settings_file.h"
#include "files/slot_dialog.h"
#include "help/help_launch.h"
#include "help/info_dialog.h"
#include "logic/levels.h"
#include "logic/puzzle_grid.h"
#include "logic/puzzle_reserve.h"
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "screen/board_view.h"
#include "screen/button_bar.h"
#include "screen/game_clock.h"
#include "screen/hint_view.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

namespace nonari {

std::uint32_t freshPuzzleSeed() {
    // From the one generator, so that NONARI_SEED replays the fresh puzzles too.
    return static_cast<std::uint32_t>(random(1 << 16)) << 16 | static_cast<std::uint32_t>(random(1 << 16));
}

namespace {

// What the menu commands and the play loops' commands share.

void shuffleGrids() {
    shuffleBoard(game.puzzle.board, game.puzzle.givens,
                 shuffleKeepsSymmetry(game.settings.symmetryOn, game.settings.difficulty));
}

void restartGrids() { restartBoard(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates); }

// The slot dialog in load mode, then the loaded board on show; false when the program is ending.
bool loadSavedBoard() {
    game.dialog.currentFile = savedBoardFile;
    const PuzzleState before = game.puzzle;
    openLoadDialog();
    if (platform().appEnding()) return false;
    if (!(game.puzzle == before)) startHistory();  // a loaded board is a new game
    showDifficultyLine();
    drawBoard();
    return true;
}

// The automatic candidates on or off; the notes go either way.
void switchCandidateDisplay() {
    game.settings.showCandidates = !game.settings.showCandidates;
    game.puzzle.candidates.clear();
    drawBoard();
    updateMenuChecks();  // the key M changes it too
}

const char* levelName(int difficulty) {
    static constexpr std::array<const char*, 5> names = {"Leicht", "Mittel", "Schwer", "Extrem", "Teuflisch"};
    return difficulty >= 0 && difficulty < 5 ? names[static_cast<std::size_t>(difficulty)] : "?";
}

// A typed-in or loaded board is checked before play: one with a single solution has its level named in the
// help panel; one without is played only when the player wants it (a teacher may). An empty board is no
// puzzle and needs no word.
bool boardWanted() {
    const Puzzle puzzle = puzzleOf(game.puzzle.givens);
    if (givenCount(puzzle) == 0) return true;
    const int solutions = countSolutions(puzzle, 2);
    if (solutions == 1) {
        const std::optional<int> level = levelOf(puzzle);
        game.screen.helpText = std::string("Schwierigkeit: ") + (level ? levelName(*level) : "keine Stufe");
        showHelpText();
        return true;
    }
    const std::string text = std::string("Dieses Brett hat ") + (solutions == 0 ? "keine Lösung" : "mehr als eine Lösung") +
                             " und passt daher zu keiner Schwierigkeitsstufe. Trotzdem spielen?";
    return platform().messageBox(text, MessageIcon::Question, 1, "&JA|&NEIN") == 1;
}

// The menu's own sequences.

bool leadsToBoard(MenuCommand command) {
    using C = MenuCommand;
    switch (command) {
    case C::NewGame: case C::StartGame: case C::OwnBoard: case C::LoadBoard: case C::SaveBoard:
    case C::SolveBoard: case C::ShuffleBoard: case C::RestartBoard:
        return true;
    default:
        return false;
    }
}

// A freshly made puzzle of the difficulty when the player wants them and one is ready; the stored
// collection serves otherwise.
bool loadFreshPuzzle() {
    if (!game.settings.freshPuzzles) return false;
    const std::optional<Puzzle> fresh = takeFreshPuzzle(game.settings.difficulty);
    if (!fresh) return false;
    game.dialog.currentFile = collectionFile(game.settings.difficulty);
    game.clock.clockRunning = false;
    game.puzzle.board = game.puzzle.givens = gridOf(*fresh);
    game.puzzle.candidates.clear();
    return true;
}

void switchFreshPuzzles() {
    game.settings.freshPuzzles = !game.settings.freshPuzzles;
    static_cast<void>(saveSettings());  // not kept: the setting still holds for this run
    if (game.settings.freshPuzzles) startFreshPuzzles(freshPuzzleSeed());
    else stopFreshPuzzles();
}

void newGame() {
    // No puzzle of the level to play: no clock on an empty board or on the last game's.
    if (!loadFreshPuzzle() && loadNewGamePuzzle() != FileResult::Ok) {
        platform().messageBox(std::string("Es konnte kein Rätsel der Stufe „") + levelName(game.settings.difficulty) +
                                  "“ gelesen werden. Es wurde kein neues Spiel gestartet.",
                              MessageIcon::Exclamation, 1, "OK");
        return;
    }
    showDifficultyLine();
    game.clock.clockRunning = true;
    game.clock.startTime = currentTime();
    game.clock.gameWon = false;
    game.clock.finalTime = "X";
    updateClock();
    shuffleGrids();
    game.puzzle.candidates.clear();
    startHistory();
    playLoop();
}

void setNumbersMode(bool numbers) {
    game.settings.numbersMode = numbers;
    drawBoard();
    drawStatisticsPanel();
}

void runMenuCommand(MenuCommand command) {
    using C = MenuCommand;
    const int id = static_cast<int>(command);
    if (id >= static_cast<int>(C::Leicht) && id <= static_cast<int>(C::Teuflisch)) {
        game.settings.difficulty = static_cast<std::int16_t>(id - static_cast<int>(C::Leicht));
        return;
    }
    switch (command) {
    case C::About: showInformation(); break;
    case C::NewGame: newGame(); break;
    case C::StartGame:
        if (!boardWanted()) break;
        startHistory();  // the entry's typed givens are no moves to take back in a game
        playLoop();
        break;
    case C::OwnBoard: {
        // Entry opened from a play screen hands that screen its own mode back, with a history of its own.
        const bool outerMode = game.picker.ownBoardMode;
        ownBoardLoop();
        game.picker.ownBoardMode = outerMode;
        startHistory();
        break;
    }
    case C::PrintSheets:
        printSheets();
        drawBoard();
        break;
    case C::LoadBoard: {
        const PuzzleState before = game.puzzle;
        if (loadSavedBoard() && (game.puzzle == before || boardWanted())) playLoop();  // nothing to check when cancelled
        break;
    }
    case C::SaveBoard:
        openSaveDialog();
        playLoop();
        break;
    case C::SolveBoard:
        solveOnScreen();
        startHistory();
        break;
    case C::ShuffleBoard:
        shuffleGrids();
        drawBoard();
        break;
    case C::RestartBoard:
        restartGrids();
        playLoop();
        break;
    case C::ClearBoard:
        clearBoard();
        startHistory();
        break;
    case C::PrintBoard: printBoard(); break;
    case C::Numbers: setNumbersMode(true); break;
    case C::Letters: setNumbersMode(false); break;
    case C::ShowCandidates: switchCandidateDisplay(); break;
    case C::Symmetry: game.settings.symmetryOn = !game.settings.symmetryOn; break;
    case C::MarkClashes:
        game.settings.markClashes = !game.settings.markClashes;
        refreshClashMarks();
        break;
    case C::HallOfFame: showHallOfFame(); break;
    case C::Manual: showManualOverview(); break;
    case C::FreshPuzzles: switchFreshPuzzles(); break;
    case C::Exit: askExit(); break;
    default: break;
    }
}

// Puts back the strip under the board, one pixel above the row it was taken at.
void restoreButtonStrip() {
    if (game.screen.savedStrip != 0) platform().restoreArea(game.screen.savedStrip, 30, 597);
}

// A help or an interruption ends the timing of a game for good.
void stopClock() {
    game.clock.clockRunning = false;
    updateClock();
}

}  // namespace

void Win_0_MenuEvent(int id) {
    const auto command = static_cast<MenuCommand>(id);
    game.dialog.abortInput = false;
    if (leadsToBoard(command)) {
        game.screen.helpText = helpTextClickCell;
        drawHelpPanel();
    }
    if (!game.dialog.useHtmlHelp) closeWinHelp();
    game.dialog.lastCommand = id;
    // A command that ends the timing anyway ends a pause first: its screens draw on the board, not on the cover.
    if (game.screen.boardCovered && command != MenuCommand::Exit && command != MenuCommand::MarkClashes) {
        stopClock();
        drawBoard();
    }

    runMenuCommand(command);
    if (platform().appEnding()) {  // the window is gone; only the clock still needs stopping
        game.clock.clockRunning = false;
        joinClockThread();
        return;
    }

    updateMenuChecks();
    showDifficultyLine();
    game.screen.helpText = helpTextChooseMenu;
    showHelpText();
    restoreButtonStrip();
    if (playLoopRunning()) drawButtonBar();  // the play screen the command came from goes on
    // A declined "&Beenden" lets the player go on with the game, still timed and recordable; so does
    // switching the clash marks, which reveal nothing.
    if (command != MenuCommand::Exit && command != MenuCommand::MarkClashes) stopClock();
    game.dialog.abortInput = false;
}

bool runPlayCommand(PlayCommand command, PlayMode mode) {
    const bool timed = mode == PlayMode::Game;
    switch (command) {
    case PlayCommand::Load:
        if (!loadSavedBoard()) return false;
        if (timed) updateClock();
        break;
    case PlayCommand::Save: openSaveDialog(); break;
    case PlayCommand::Print: printBoard(); break;
    case PlayCommand::Restart:
        restartGrids();
        drawBoard();
        break;
    case PlayCommand::Help: showRulesHelp(); break;
    case PlayCommand::Abort:
        // The pressed look stays until the menu command puts the saved strip back.
        if (timed) game.clock.clockRunning = false;
        sleepMilliseconds(200);  // lets the pressed look be seen
        if (timed) updateClock();
        return false;
    case PlayCommand::Solve:
        if (timed) game.clock.clockRunning = false;
        solveOnScreen();
        startHistory();
        if (timed) updateClock();
        break;
    case PlayCommand::FillNotes:
        game.puzzle.candidates.fill(true);
        drawBoard();
        break;
    case PlayCommand::ClearNotes:
        game.puzzle.candidates.clear();
        drawBoard();
        break;
    case PlayCommand::SwitchCandidates:
        if (timed) game.clock.clockRunning = false;
        switchCandidateDisplay();
        if (timed) updateClock();
        break;
    case PlayCommand::Shuffle:
        shuffleGrids();
        drawBoard();
        break;
    case PlayCommand::Hint:
        // A hint is help: the game can no longer be recorded, nor the one own-board entry was opened from.
        if (game.clock.clockRunning) stopClock();
        showHint();
        break;
    }
    return !platform().appEnding();
}

}  // namespace nonari
