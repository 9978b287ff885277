// Cell entry: the digit picker's modal loop, note mode, the board clicks of both play loops and the won game.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cell_entry.h"

#include "fame/record_check.h"
#include "logic/rules.h"
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/candidate_marks.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

namespace nonari {

namespace {

// The key whose character the picker took, so that its release does not also act in the play loop.
int virtualKeyOf(int character) {
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    return character;
}

void refreshCandidatesIfShown() {
    if (game.settings.showCandidates) showAllCandidates();
}

void toggleNote(int column, int row, int digit) {
    bool& note = game.puzzle.candidates(column, row, digit);
    note = !note;
    showAllCandidates();
}

void enterDigit(int column, int row, int digit) {
    game.puzzle.board(column, row) = static_cast<std::uint8_t>(digit);
    if (!game.picker.ownBoardMode) drawEntryCell(column, row, digit);
}

// Opens the picker over the cell and runs it. A click from a play screen that a menu command
// opened inside another picker's wait gets a picker of its own; the outer one is kept for later.
bool pickCell(int column, int row) {
    struct OpenPicker {
        std::int16_t x, y, column, row;
        SavedAreaId background;
        bool noteMode;
    };
    PickerState& picker = game.picker;
    bool nested = picker.pickerActive;
    OpenPicker outer{picker.pickerX,   picker.pickerY,          picker.pickerColumn,
                     picker.pickerRow, picker.pickerBackground, picker.noteMode};
    if (nested) {
        picker.pickerBackground = 0;
        picker.pickerActive = false;
    }
    drawDigitPicker(column, row);
    bool chosen = runDigitPicker(column, row);
    if (nested) {
        picker.pickerX = outer.x;
        picker.pickerY = outer.y;
        picker.pickerColumn = outer.column;
        picker.pickerRow = outer.row;
        picker.pickerBackground = outer.background;
        picker.noteMode = outer.noteMode;
        picker.pickerActive = true;
    }
    return chosen;
}

// The cell under the pointer for the current press; false for other events and outside the board.
bool clickedCell(int& column, int& row) {
    EventKind kind = platform().currentEvent().kind;
    if (kind != EventKind::LeftPress && kind != EventKind::RightPress) return false;
    return cellAt(game.picker.mouseX, game.picker.mouseY, column, row);
}

}  // namespace

// A timed game whose board is now solved is won: the final time, the record check, then the idle clock.
void completionTest() {
    if (!game.clock.clockRunning || boardVerdict(game.puzzle.board) != BoardVerdict::Solved) return;
    game.clock.gameWon = true;
    takeFinalTime();
    checkForRecord();
    updateClock();
    game.clock.clockRunning = false;
    game.clock.gameWon = false;
}

void showClickCellHelp() {
    game.screen.helpText = game.screen.largeFonts ? "Bitte ein Feld anklicken!    " : "Bitte ein Feld anklicken! ";
    showHelpText();
}

bool runDigitPicker(int column, int row) {
    Platform& p = platform();
    PickerState& picker = game.picker;
    picker.pickerColumn = static_cast<std::int16_t>(column);
    picker.pickerRow = static_cast<std::int16_t>(row);
    picker.pickerKeyRelease = 0;
    picker.pickerActive = true;
    waitMouseRelease();

    int typed = -1;  // the accepted character's value, -1 when the picker closed by mouse
    while (true) {
        picker.pickerCleared = false;
        game.dialog.abortInput = false;
        InputEvent event = p.waitEvent();
        if (p.appEnding()) {
            closePicker();
            return false;
        }
        if (game.screen.helpText != pickerHelpText()) {
            abandonPicker();
            return false;
        }
        if (event.kind == EventKind::Hidden) {  // the play screen pauses at once, without the picker
            abandonPicker();
            picker.windowHidden = true;
            return false;
        }
        if (event.kind == EventKind::LeftPress) {
            if (pickerSquareAt(picker.mouseX, picker.mouseY) == 0) continue;
            restorePickerBackground();
            if (picker.noteMode) toggleNote(column, row, picker.pickerHover);
            else enterDigit(column, row, picker.pickerHover);
            break;
        }
        if (event.kind == EventKind::RightPress) {
            picker.pickerCleared = true;
            restorePickerBackground();
            if (picker.noteMode) {
                for (int d = 1; d <= 9; ++d) game.puzzle.candidates(column, row, d) = false;
                showAllCandidates();
            } else if (!picker.ownBoardMode) {
                enterDigit(column, row, 0);
            }
            break;
        }
        if (event.kind == EventKind::Char) {
            int code = event.code;
            if (code == 27) {
                code = '0';
                game.dialog.abortInput = true;
            }
            if (!game.settings.numbersMode && !game.dialog.abortInput) code -= 48;
            if (code >= '0' && code <= '9') {
                typed = code - '0';
                picker.pickerKeyRelease = virtualKeyOf(event.code);
                break;
            }
        }
    }

    if (typed >= 0) {
        restorePickerBackground();
        if (picker.noteMode) {
            toggleNote(column, row, typed);
        } else {
            picker.pickerHover = static_cast<std::int16_t>(typed);
            enterDigit(column, row, typed);
        }
    }

    closePicker();
    waitMouseRelease();
    if (p.appEnding()) return false;
    showClickCellHelp();
    refreshCandidatesIfShown();
    return true;
}

void waitMouseRelease() {
    Platform& p = platform();
    while (p.mouseButtonHeld() && !p.appEnding()) p.waitEvent();
}

void handleBoardClick() {
    int column = 0, row = 0;
    if (!clickedCell(column, row)) return;
    boardClickAt(column, row, platform().currentEvent().kind == EventKind::RightPress);
}

void boardClickAt(int column, int row, bool right) {
    game.picker.noteMode = right;
    if (game.puzzle.givens(column, row) != 0) return;

    if (!right) {
        if (!pickCell(column, row)) return;
        updateStatistics();
    } else if (game.puzzle.board(column, row) == 0) {
        if (!pickCell(column, row)) return;
    } else {
        game.puzzle.board(column, row) = 0;
        drawEntryCell(column, row, 0);
        refreshCandidatesIfShown();
        updateStatistics();
    }
    completionTest();
}

void handleOwnBoardClick() {
    int column = 0, row = 0;
    if (!clickedCell(column, row)) return;
    ownBoardClickAt(column, row, platform().currentEvent().kind == EventKind::RightPress);
}

void ownBoardClickAt(int column, int row, bool right) {
    game.picker.noteMode = false;

    auto removeGiven = [&] {
        game.puzzle.board(column, row) = 0;
        game.puzzle.givens(column, row) = 0;
        drawEntryCell(column, row, 0);
        refreshCandidatesIfShown();
    };

    if (right) {
        if (game.puzzle.givens(column, row) != 0) removeGiven();
    } else {
        if (!pickCell(column, row)) return;
        if (game.picker.pickerCleared || game.puzzle.board(column, row) == 0) removeGiven();
        else drawGivenCell(column, row, game.picker.pickerHover);
    }
    updateStatistics();
    showDifficultyLine();
}

bool swallowPickerKeyRelease(int virtualKey) {
    int pending = game.picker.pickerKeyRelease;
    game.picker.pickerKeyRelease = 0;
    // A digit typed on the keypad comes back as the keypad's key.
    const bool keypad = pending >= '0' && pending <= '9' && virtualKey == KeyPad0 + (pending - '0');
    return pending != 0 && (pending == virtualKey || keypad);
}

void typeIntoCell(int column, int row, int digit, bool note, bool ownBoard) {
    PuzzleState& puzzle = game.puzzle;
    if (ownBoard) {
        // As the own-board picker: a digit becomes a given, 0 takes the cell's digit away.
        if (note) return;
        puzzle.board(column, row) = static_cast<std::uint8_t>(digit);
        if (digit != 0) {
            drawGivenCell(column, row, digit);
        } else {
            puzzle.givens(column, row) = 0;
            drawCell(column, row);
            refreshCandidatesIfShown();
        }
        updateStatistics();
        showDifficultyLine();
        return;
    }
    if (puzzle.givens(column, row) != 0) return;
    if (note) {
        // Notes belong to empty cells, as the note picker opens only there.
        if (digit == 0 || puzzle.board(column, row) != 0) return;
        toggleNote(column, row, digit);
        refreshCandidatesIfShown();
    } else {
        puzzle.board(column, row) = static_cast<std::uint8_t>(digit);
        drawCell(column, row);
        refreshCandidatesIfShown();
        updateStatistics();
    }
    completionTest();
}

void openPickerAt(int column, int row, bool note, bool ownBoard) {
    if (ownBoard) {
        if (!note) ownBoardClickAt(column, row, false);
    } else if (!note || game.puzzle.board(column, row) == 0) {
        boardClickAt(column, row, note);
    }
}

}  // namespace nonari
