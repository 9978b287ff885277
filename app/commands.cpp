// Dispatch of every menu command: preparation, the command's own sequence, and the way back to the idle screen.
#include "app/commands.h"

#include "app/game_state.h"
#include "app/menu.h"
#include "app/startup.h"
#include "fame/hall_of_fame.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "help/help_launch.h"
#include "help/info_dialog.h"
#include "logic/game_clock.h"
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "logic/solver.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "screen/board_view.h"
#include "screen/play_loops.h"
#include "screen/side_panels.h"

namespace nonari {

namespace {

constexpr int exitCommand = 99;

bool leadsToBoard(int id) {
    switch (id) {
    case 8: case 10: case 11: case 20: case 21: case 22: case 24: case 25:
        return true;
    default:
        return false;
    }
}

void newGame() {
    static_cast<void>(loadNewGamePuzzle());  // no puzzle file: the board stays as it is, without a word
    showDifficultyLine();
    game.clockRunning = true;
    game.startTime = currentTime();
    game.gameWon = false;
    game.finalTime = "X";
    updateClock();
    shuffleBoard();
    game.candidates.clear();
    playLoop();
}

void loadBoardCommand() {
    game.currentFile = savedBoardFile;
    openLoadDialog();
    showDifficultyLine();
    drawBoard();
    playLoop();
}

void ownBoard() {
    ownBoardLoop();
    game.ownBoardMode = false;
}

void setNumbersMode(bool numbers) {
    game.numbersMode = numbers;
    drawBoard();
    drawStatisticsPanel();
}

void toggleCandidateDisplay() {
    game.showCandidates = !game.showCandidates;
    game.candidates.clear();
    drawBoard();
}

void runCommand(int id) {
    switch (id) {
    case 1: showInformation(); break;
    case 8: newGame(); break;
    case 10: playLoop(); break;
    case 11: ownBoard(); break;
    case 12: printSheets(); drawBoard(); break;
    case 20: loadBoardCommand(); break;
    case 21: openSaveDialog(); playLoop(); break;
    case 22: solveCommand(); break;
    case 24: shuffleBoard(); drawBoard(); break;
    case 25: restartBoard(); playLoop(); break;
    case 26: clearBoard(); break;
    case 27: printBoard(); break;
    case 30: case 31: case 32: case 33: case 34:
        game.difficulty = static_cast<std::int16_t>(id - 30);
        break;
    case 40: setNumbersMode(true); break;
    case 41: setNumbersMode(false); break;
    case 44: toggleCandidateDisplay(); break;
    case 45: game.symmetryOn = !game.symmetryOn; break;
    case 50: showHallOfFame(); break;
    case 60: showManualOverview(); break;
    case exitCommand: askExit(); break;
    default: break;
    }
}

// Puts back the strip under the board, one pixel above the row it was taken at.
void restoreButtonStrip() {
    if (game.savedStrip != 0) platform().restoreArea(game.savedStrip, 30, 597);
}

}  // namespace

void Win_0_MenuEvent(int id) {
    game.abortInput = false;
    if (leadsToBoard(id)) {
        game.helpText = helpTextClickCell;
        drawHelpPanel();
    }
    if (!game.useHtmlHelp) closeWinHelp();
    game.lastCommand = id;

    runCommand(id);
    if (platform().appEnding()) {  // the window is gone; only the clock still needs stopping
        game.clockRunning = false;
        joinClockThread();
        return;
    }

    updateMenuChecks();
    showDifficultyLine();
    game.helpText = helpTextChooseMenu;
    showHelpText();
    restoreButtonStrip();
    // A declined "&Beenden" lets the player go on with the game, still timed and recordable.
    if (id != exitCommand) {
        game.clockRunning = false;
        updateClock();
    }
    game.abortInput = false;
}

}  // namespace nonari
