// The play loops' keyboard: the cell cursor, digits and notes by key, taking changes back and the pause.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/play_keys.h"

#include "app/cell_entry.h"
#include "platform/system.h"
#include "screen/board_view.h"
#include "screen/candidate_marks.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

namespace nonari {

namespace {

// Candidates the game computes itself are no step of the player's.
bool sameSteps(const PuzzleState& a, const PuzzleState& b) {
    return a.board == b.board && a.givens == b.givens &&
           (game.settings.showCandidates || a.candidates == b.candidates);
}

// The digit a key enters: 1..9 on the digit row or the keypad; 0 for the keys that empty a cell.
int digitOfKey(int key) {
    if (key >= '0' && key <= '9') return key - '0';
    if (key >= KeyPad0 && key <= KeyPad0 + 9) return key - KeyPad0;
    if (key == KeyDelete || key == KeyBackspace || key == KeySpace) return 0;
    return -1;
}

// The first arrow shows the cursor where it stood; the next move it, wrapping round within the row
// or column. Home and End go to the ends of the row.
void moveCursor(int key) {
    const PickerState& picker = game.picker;
    int column = picker.cursorColumn, row = picker.cursorRow;
    auto wrap = [](int v) { return (v + 8) % 9 + 1; };  // 0 is 9, 10 is 1
    if (picker.cursorShown || key == KeyHome || key == KeyEnd) {
        switch (key) {
        case KeyArrowLeft: column = wrap(column - 1); break;
        case KeyArrowRight: column = wrap(column + 1); break;
        case KeyArrowUp: row = wrap(row - 1); break;
        case KeyArrowDown: row = wrap(row + 1); break;
        case KeyHome: column = 1; break;
        default: column = 9; break;  // End
        }
    }
    placeCursor(column, row);
}

void stepThroughHistory(bool forward, PlayMode mode) {
    const PuzzleState* state = forward ? game.history.forward() : game.history.back();
    if (state == nullptr) return;
    game.puzzle = *state;
    drawBoard();
    showDifficultyLine();
    if (mode == PlayMode::Game) completionTest();
}

}  // namespace

void startHistory() { game.history.start(game.puzzle); }

void recordStep() { game.history.record(game.puzzle, sameSteps); }

bool handlePlayKey(const InputEvent& event, PlayMode mode) {
    const int key = event.code;
    if (event.modifiers & ctrlHeld) {
        if (key == 'Z') stepThroughHistory((event.modifiers & shiftHeld) != 0, mode);
        else if (key == 'Y') stepThroughHistory(true, mode);
        else return false;
        return true;
    }
    if (event.modifiers & altHeld) return false;
    const PickerState& picker = game.picker;
    const bool shift = (event.modifiers & shiftHeld) != 0, ownBoard = mode == PlayMode::OwnBoard;
    switch (key) {
    case KeyArrowLeft: case KeyArrowRight: case KeyArrowUp: case KeyArrowDown: case KeyHome: case KeyEnd:
        moveCursor(key);
        return true;
    case 'P':
        pauseGame(false);
        return true;
    case KeyReturn:
        if (picker.cursorShown) openPickerAt(picker.cursorColumn, picker.cursorRow, shift, ownBoard);
        return true;
    default: break;
    }
    const int digit = digitOfKey(key);
    if (digit < 0) return false;
    if (picker.cursorShown) typeIntoCell(picker.cursorColumn, picker.cursorRow, digit, shift, ownBoard);
    return true;
}

void cursorFollowsClick() {
    int column = 0, row = 0;
    if (game.picker.cursorShown && cellAt(game.picker.mouseX, game.picker.mouseY, column, row))
        placeCursor(column, row);
}

void pauseGame(bool hidden) {
    if (!game.clock.clockRunning || game.clock.gameWon) return;
    Platform& p = platform();
    const double pausedAt = currentTime();
    pauseClock();
    coverBoard();
    auto showPauseText = [&hidden] {
        game.screen.helpText = hidden ? pauseHiddenHelpText : pauseHelpText;
        showHelpText();
    };
    showPauseText();
    while (true) {
        const InputEvent event = p.waitEvent();
        if (p.appEnding()) return;
        if (!game.clock.clockRunning) {  // a menu command ended the game's timing meanwhile
            drawBoard();
            return;
        }
        if (!game.screen.boardCovered) coverBoard();  // a play screen of a menu command drew it
        if (event.kind == EventKind::LeftPress || event.kind == EventKind::RightPress) break;
        if (event.kind == EventKind::KeyUp && (hidden || event.code == 'P')) break;
        if (event.kind == EventKind::Hidden) hidden = true;
        // A declined "Beenden" leaves the menu's help text behind.
        if (game.screen.helpText != (hidden ? pauseHiddenHelpText : pauseHelpText)) showPauseText();
    }
    resumeClock(pausedAt);
    drawBoardCells();
    drawCandidateMarks();
    showClickCellHelp();
}

}  // namespace nonari
