// The one dispatcher of every command: the menu's, and those of the play loops' painted buttons and keys.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"

#include "app/menu.h"
#include "app/play_loops.h"
#include "app/startup.h"
#include "fame/hall_of_fame.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "help/help_launch.h"
#include "help/info_dialog.h"
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "screen/board_view.h"
#include "screen/game_clock.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

namespace nonari {

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
    openLoadDialog();
    if (platform().appEnding()) return false;
    showDifficultyLine();
    drawBoard();
    return true;
}

// The automatic candidates on or off; the notes go either way.
void switchCandidateDisplay() {
    game.settings.showCandidates = !game.settings.showCandidates;
    game.puzzle.candidates.clear();
    drawBoard();
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

void newGame() {
    // No puzzle of the level to play: no clock on an empty board or on the last game's.
    if (loadNewGamePuzzle() != FileResult::Ok) {
        static const char* const levels[] = {"Leicht", "Mittel", "Schwer", "Extrem", "Teuflisch"};
        const int d = game.settings.difficulty;
        const std::string level = d >= 0 && d < 5 ? levels[d] : "?";
        platform().messageBox("Es konnte kein Rätsel der Stufe „" + level +
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
    case C::StartGame: playLoop(); break;
    case C::OwnBoard:
        ownBoardLoop();
        game.picker.ownBoardMode = false;
        break;
    case C::PrintSheets:
        printSheets();
        drawBoard();
        break;
    case C::LoadBoard:
        loadSavedBoard();
        playLoop();
        break;
    case C::SaveBoard:
        openSaveDialog();
        playLoop();
        break;
    case C::SolveBoard: solveOnScreen(); break;
    case C::ShuffleBoard:
        shuffleGrids();
        drawBoard();
        break;
    case C::RestartBoard:
        restartGrids();
        playLoop();
        break;
    case C::ClearBoard: clearBoard(); break;
    case C::PrintBoard: printBoard(); break;
    case C::Numbers: setNumbersMode(true); break;
    case C::Letters: setNumbersMode(false); break;
    case C::ShowCandidates: switchCandidateDisplay(); break;
    case C::Symmetry: game.settings.symmetryOn = !game.settings.symmetryOn; break;
    case C::HallOfFame: showHallOfFame(); break;
    case C::Manual: showManualOverview(); break;
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
    // A declined "&Beenden" lets the player go on with the game, still timed and recordable.
    if (command != MenuCommand::Exit) stopClock();
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
    }
    return !platform().appEnding();
}

}  // namespace nonari
