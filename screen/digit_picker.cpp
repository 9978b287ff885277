// Cell entry: the 3x3 digit picker over a cell, its modal loop, note mode, and the board clicks of both loops.
#include "screen/digit_picker.h"

#include "logic/candidate_marks.h"
#include "logic/game_clock.h"
#include "logic/rules.h"
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

#include <cmath>
#include <string>

namespace nonari {

namespace {

constexpr int pickerSize = 90;
constexpr int squareSize = 30;
// Where the menu commands put back the strip saved at start-up.
constexpr int stripLeft = 30;
constexpr int stripTop = 597;

int pickerLeft(int column) { return game.screen.boardX - 16 + (column - 1) * game.screen.cellWidth; }
int pickerTop(int row) { return game.screen.boardY - 16 + (row - 1) * game.screen.cellHeight; }

int roundPixel(double value) { return static_cast<int>(std::lround(value)); }

// Square 1..9 under the point, 0 outside the picker.
int squareAt(int x, int y) {
    int dx = x - game.picker.pickerX, dy = y - game.picker.pickerY;
    if (dx < 0 || dx >= pickerSize || dy < 0 || dy >= pickerSize) return 0;
    return (dy / squareSize) * 3 + dx / squareSize + 1;
}

bool insidePicker(int x, int y) { return squareAt(x, y) != 0; }

int glyphOffsetInSquare(const std::string& text) {
    if (game.settings.numbersMode) return 6;
    return text == "I" ? 10 : 3;
}

void restoreBackground() {
    setDrawingBusy(true);
    if (game.picker.pickerBackground != 0) platform().restoreArea(game.picker.pickerBackground, game.picker.pickerX, game.picker.pickerY);
    setDrawingBusy(false);
}

void closePickerState() {
    setDrawingBusy(false);
    if (game.picker.pickerBackground != 0) platform().discardArea(game.picker.pickerBackground);
    game.picker.pickerBackground = 0;
    game.picker.pickerActive = false;
}

// The key whose character the picker took, so that its release does not also act in the play loop.
int virtualKeyOf(int character) {
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    return character;
}

void refreshCandidatesIfShown() {
    if (game.settings.showCandidates) showAllCandidates();
}

const char* pickerHelpText() { return game.picker.noteMode ? "Bitte Kandidaten notieren!" : "Rechte Taste löscht Feld!"; }

// A menu command ran inside the picker's wait (it always leaves its own help text): the screen
// under the picker may have changed, so the picker goes without touching the cell. Its saved
// background is older than the command: the cells are drawn afresh over it, and where it reaches
// into the strip under the board, the strip goes back to what every command leaves there.
void abandonPicker() {
    restoreBackground();
    closePickerState();
    if (game.picker.pickerY + pickerSize >= stripTop && game.screen.savedStrip != 0)
        platform().restoreArea(game.screen.savedStrip, stripLeft, stripTop);
    drawBoard();
}

// Opens the picker over the cell and runs it. A click from a play screen that a menu command
// opened inside another picker's wait gets a picker of its own; the outer one is kept for later.
bool pickCell(int column, int row) {
    struct OpenPicker {
        std::int16_t x, y, column, row;
        SavedAreaId background;
        bool noteMode;
    };
    bool nested = game.picker.pickerActive;
    OpenPicker outer{game.picker.pickerX, game.picker.pickerY, game.picker.pickerColumn, game.picker.pickerRow, game.picker.pickerBackground, game.picker.noteMode};
    if (nested) {
        game.picker.pickerBackground = 0;
        game.picker.pickerActive = false;
    }
    drawDigitPicker(column, row);
    bool chosen = runDigitPicker(column, row);
    if (nested) {
        game.picker.pickerX = outer.x;
        game.picker.pickerY = outer.y;
        game.picker.pickerColumn = outer.column;
        game.picker.pickerRow = outer.row;
        game.picker.pickerBackground = outer.background;
        game.picker.noteMode = outer.noteMode;
        game.picker.pickerActive = true;
    }
    return chosen;
}

void completionTest() {
    if (game.clock.clockRunning && boardVerdict(game.puzzle.board) == BoardVerdict::Solved) {
        game.clock.gameWon = true;
        updateClock();
        game.clock.clockRunning = false;
        game.clock.gameWon = false;
    }
}

}  // namespace

void Win_0_MouseMove(int, int, double x, double y) {
    int px = roundPixel(x), py = roundPixel(y);
    // While a menu command runs inside the picker's wait the picker is not on show.
    if (game.picker.pickerActive && game.screen.helpText == pickerHelpText()) {
        int square = squareAt(px, py);
        if (square != 0 && square != game.picker.pickerHover) {
            game.picker.pickerHover = static_cast<std::int16_t>(square);
            drawDigitPicker(game.picker.pickerColumn, game.picker.pickerRow);
        }
    }
    game.picker.mouseX = px;
    game.picker.mouseY = py;
}

void drawDigitPicker(int column, int row) {
    Platform& p = platform();
    setDrawingBusy(true);
    game.screen.helpText = pickerHelpText();
    showHelpText();
    game.picker.pickerX = static_cast<std::int16_t>(pickerLeft(column));
    game.picker.pickerY = static_cast<std::int16_t>(pickerTop(row));
    if (game.picker.pickerBackground == 0)
        game.picker.pickerBackground = p.saveArea(game.picker.pickerX, game.picker.pickerY, game.picker.pickerX + pickerSize, game.picker.pickerY + pickerSize);
    for (int n = 1; n <= 9; ++n) {
        int left = game.picker.pickerX + ((n - 1) % 3) * squareSize;
        int top = game.picker.pickerY + ((n - 1) / 3) * squareSize;
        p.setRasterMode(RasterMode::CopyPen);
        p.setTextOpaque(true);
        p.setPenColour(colour(Black));
        p.setFillColour(colour(n == game.picker.pickerHover ? LightGrey : White));
        p.drawFilledBox(left, top, left + squareSize, top + squareSize);
        p.setRasterMode(RasterMode::MergePen);
        p.setTextOpaque(false);
        selectFont(6);
        std::string text = glyphText(n);
        p.drawText(left + glyphOffsetInSquare(text), top + 1, text);
    }
    p.setRasterMode(RasterMode::CopyPen);
    p.setTextOpaque(true);
    setDrawingBusy(false);
}

bool runDigitPicker(int column, int row) {
    Platform& p = platform();
    game.picker.pickerColumn = static_cast<std::int16_t>(column);
    game.picker.pickerRow = static_cast<std::int16_t>(row);
    game.picker.pickerX = static_cast<std::int16_t>(pickerLeft(column));
    game.picker.pickerY = static_cast<std::int16_t>(pickerTop(row));
    game.picker.pickerKeyRelease = 0;
    game.picker.pickerActive = true;
    waitMouseRelease();

    int typed = -1;  // the accepted character's value, -1 when the picker closed by mouse
    while (true) {
        game.picker.pickerCleared = false;
        game.dialog.abortInput = false;
        InputEvent event = p.waitEvent();
        if (p.appEnding()) {
            closePickerState();
            return false;
        }
        if (game.screen.helpText != pickerHelpText()) {
            abandonPicker();
            return false;
        }
        if (event.kind == EventKind::LeftPress) {
            if (!insidePicker(game.picker.mouseX, game.picker.mouseY)) continue;
            restoreBackground();
            if (game.picker.noteMode) {
                bool& note = game.puzzle.candidates(column, row, game.picker.pickerHover);
                note = !note;
                showAllCandidates();
            } else {
                game.puzzle.board(column, row) = static_cast<std::uint8_t>(game.picker.pickerHover);
                if (!game.picker.ownBoardMode) drawEntryCell(column, row, game.picker.pickerHover);
            }
            break;
        }
        if (event.kind == EventKind::RightPress) {
            game.picker.pickerCleared = true;
            restoreBackground();
            if (game.picker.noteMode) {
                for (int d = 1; d <= 9; ++d) game.puzzle.candidates(column, row, d) = false;
                showAllCandidates();
            } else if (!game.picker.ownBoardMode) {
                game.puzzle.board(column, row) = 0;
                drawEntryCell(column, row, 0);
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
                game.picker.pickerKeyRelease = virtualKeyOf(event.code);
                break;
            }
        }
    }

    if (typed >= 0) {
        restoreBackground();
        if (game.picker.noteMode) {
            bool& note = game.puzzle.candidates(column, row, typed);
            note = !note;
            showAllCandidates();
        } else {
            game.picker.pickerHover = static_cast<std::int16_t>(typed);
            game.puzzle.board(column, row) = static_cast<std::uint8_t>(typed);
            if (!game.picker.ownBoardMode) drawEntryCell(column, row, typed);
        }
    }

    closePickerState();
    waitMouseRelease();
    if (p.appEnding()) return false;
    game.screen.helpText = game.screen.largeFonts ? "Bitte ein Feld anklicken!    " : "Bitte ein Feld anklicken! ";
    showHelpText();
    refreshCandidatesIfShown();
    return true;
}

void waitMouseRelease() {
    Platform& p = platform();
    while (p.mouseButtonHeld() && !p.appEnding()) p.waitEvent();
}

bool clickedCell(int& column, int& row) {
    EventKind kind = platform().currentEvent().kind;
    if (kind != EventKind::LeftPress && kind != EventKind::RightPress) return false;
    int dx = game.picker.mouseX - game.screen.boardX, dy = game.picker.mouseY - game.screen.boardY;
    if (dx < 0 || dx >= 9 * game.screen.cellWidth || dy < 0 || dy >= 9 * game.screen.cellHeight) return false;
    column = dx / game.screen.cellWidth + 1;
    row = dy / game.screen.cellHeight + 1;
    return true;
}

void handleBoardClick() {
    int column = 0, row = 0;
    if (!clickedCell(column, row)) return;
    bool right = platform().currentEvent().kind == EventKind::RightPress;
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
    bool right = platform().currentEvent().kind == EventKind::RightPress;
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
    return pending != 0 && pending == virtualKey;
}

}  // namespace nonari
