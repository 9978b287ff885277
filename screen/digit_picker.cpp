// Cell entry: the 3x3 digit picker over a cell, its modal loop, note mode, and the board clicks of both loops.
#include "screen/digit_picker.h"

#include "app/game_state.h"
#include "logic/candidate_marks.h"
#include "logic/game_clock.h"
#include "logic/rules.h"
#include "screen/board_view.h"
#include "screen/layout.h"
#include "screen/side_panels.h"

#include <cmath>
#include <string>

namespace nonari {

namespace {

constexpr int pickerSize = 90;
constexpr int squareSize = 30;
// Where the menu commands put back the strip saved at start-up.
constexpr int stripLeft = 30;
constexpr int stripTop = 597;

int pickerLeft(int column) { return game.boardX - 16 + (column - 1) * game.cellWidth; }
int pickerTop(int row) { return game.boardY - 16 + (row - 1) * game.cellHeight; }

int roundPixel(double value) { return static_cast<int>(std::lround(value)); }

// Square 1..9 under the point, 0 outside the picker.
int squareAt(int x, int y) {
    int dx = x - game.pickerX, dy = y - game.pickerY;
    if (dx < 0 || dx >= pickerSize || dy < 0 || dy >= pickerSize) return 0;
    return (dy / squareSize) * 3 + dx / squareSize + 1;
}

bool insidePicker(int x, int y) { return squareAt(x, y) != 0; }

int glyphOffsetInSquare(const std::string& text) {
    if (game.numbersMode) return 6;
    return text == "I" ? 10 : 3;
}

void restoreBackground() {
    setDrawingBusy(true);
    if (game.pickerBackground != 0) platform().restoreArea(game.pickerBackground, game.pickerX, game.pickerY);
    setDrawingBusy(false);
}

void closePickerState() {
    setDrawingBusy(false);
    if (game.pickerBackground != 0) platform().discardArea(game.pickerBackground);
    game.pickerBackground = 0;
    game.pickerActive = false;
}

// The key whose character the picker took, so that its release does not also act in the play loop.
int virtualKeyOf(int character) {
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    return character;
}

void refreshCandidatesIfShown() {
    if (game.showCandidates) showAllCandidates();
}

const char* pickerHelpText() { return game.noteMode ? "Bitte Kandidaten notieren!" : "Rechte Taste löscht Feld!"; }

// A menu command ran inside the picker's wait (it always leaves its own help text): the screen
// under the picker may have changed, so the picker goes without touching the cell. Its saved
// background is older than the command: the cells are drawn afresh over it, and where it reaches
// into the strip under the board, the strip goes back to what every command leaves there.
void abandonPicker() {
    restoreBackground();
    closePickerState();
    if (game.pickerY + pickerSize >= stripTop && game.savedStrip != 0)
        platform().restoreArea(game.savedStrip, stripLeft, stripTop);
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
    bool nested = game.pickerActive;
    OpenPicker outer{game.pickerX, game.pickerY, game.pickerColumn, game.pickerRow, game.pickerBackground, game.noteMode};
    if (nested) {
        game.pickerBackground = 0;
        game.pickerActive = false;
    }
    drawDigitPicker(column, row);
    bool chosen = runDigitPicker(column, row);
    if (nested) {
        game.pickerX = outer.x;
        game.pickerY = outer.y;
        game.pickerColumn = outer.column;
        game.pickerRow = outer.row;
        game.pickerBackground = outer.background;
        game.noteMode = outer.noteMode;
        game.pickerActive = true;
    }
    return chosen;
}

void completionTest() {
    if (game.clockRunning && boardVerdict(game.board) == BoardVerdict::Solved) {
        game.gameWon = true;
        updateClock();
        game.clockRunning = false;
        game.gameWon = false;
    }
}

}  // namespace

void Win_0_MouseMove(int, int, double x, double y) {
    int px = roundPixel(x), py = roundPixel(y);
    // While a menu command runs inside the picker's wait the picker is not on show.
    if (game.pickerActive && game.helpText == pickerHelpText()) {
        int square = squareAt(px, py);
        if (square != 0 && square != game.pickerHover) {
            game.pickerHover = static_cast<std::int16_t>(square);
            drawDigitPicker(game.pickerColumn, game.pickerRow);
        }
    }
    game.mouseX = px;
    game.mouseY = py;
}

void drawDigitPicker(int column, int row) {
    Platform& p = platform();
    setDrawingBusy(true);
    game.helpText = pickerHelpText();
    showHelpText();
    game.pickerX = static_cast<std::int16_t>(pickerLeft(column));
    game.pickerY = static_cast<std::int16_t>(pickerTop(row));
    if (game.pickerBackground == 0)
        game.pickerBackground = p.saveArea(game.pickerX, game.pickerY, game.pickerX + pickerSize, game.pickerY + pickerSize);
    for (int n = 1; n <= 9; ++n) {
        int left = game.pickerX + ((n - 1) % 3) * squareSize;
        int top = game.pickerY + ((n - 1) / 3) * squareSize;
        p.setRasterMode(RasterMode::CopyPen);
        p.setTextOpaque(true);
        p.setPenColour(colour(Black));
        p.setFillColour(colour(n == game.pickerHover ? LightGrey : White));
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
    game.pickerColumn = static_cast<std::int16_t>(column);
    game.pickerRow = static_cast<std::int16_t>(row);
    game.pickerX = static_cast<std::int16_t>(pickerLeft(column));
    game.pickerY = static_cast<std::int16_t>(pickerTop(row));
    game.pickerKeyRelease = 0;
    game.pickerActive = true;
    waitMouseRelease();

    int typed = -1;  // the accepted character's value, -1 when the picker closed by mouse
    while (true) {
        game.pickerCleared = false;
        game.abortInput = false;
        InputEvent event = p.waitEvent();
        if (p.appEnding()) {
            closePickerState();
            return false;
        }
        if (game.helpText != pickerHelpText()) {
            abandonPicker();
            return false;
        }
        if (event.kind == EventKind::LeftPress) {
            if (!insidePicker(game.mouseX, game.mouseY)) continue;
            restoreBackground();
            if (game.noteMode) {
                bool& note = game.candidates(column, row, game.pickerHover);
                note = !note;
                showAllCandidates();
            } else {
                game.board(column, row) = static_cast<std::uint8_t>(game.pickerHover);
                if (!game.ownBoardMode) drawEntryCell(column, row, game.pickerHover);
            }
            break;
        }
        if (event.kind == EventKind::RightPress) {
            game.pickerCleared = true;
            restoreBackground();
            if (game.noteMode) {
                for (int d = 1; d <= 9; ++d) game.candidates(column, row, d) = false;
                showAllCandidates();
            } else if (!game.ownBoardMode) {
                game.board(column, row) = 0;
                drawEntryCell(column, row, 0);
            }
            break;
        }
        if (event.kind == EventKind::Char) {
            int code = event.code;
            if (code == 27) {
                code = '0';
                game.abortInput = true;
            }
            if (!game.numbersMode && !game.abortInput) code -= 48;
            if (code >= '0' && code <= '9') {
                typed = code - '0';
                game.pickerKeyRelease = virtualKeyOf(event.code);
                break;
            }
        }
    }

    if (typed >= 0) {
        restoreBackground();
        if (game.noteMode) {
            bool& note = game.candidates(column, row, typed);
            note = !note;
            showAllCandidates();
        } else {
            game.pickerHover = static_cast<std::int16_t>(typed);
            game.board(column, row) = static_cast<std::uint8_t>(typed);
            if (!game.ownBoardMode) drawEntryCell(column, row, typed);
        }
    }

    closePickerState();
    waitMouseRelease();
    if (p.appEnding()) return false;
    game.helpText = game.largeFonts ? "Bitte ein Feld anklicken!    " : "Bitte ein Feld anklicken! ";
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
    int dx = game.mouseX - game.boardX, dy = game.mouseY - game.boardY;
    if (dx < 0 || dx >= 9 * game.cellWidth || dy < 0 || dy >= 9 * game.cellHeight) return false;
    column = dx / game.cellWidth + 1;
    row = dy / game.cellHeight + 1;
    return true;
}

void handleBoardClick() {
    int column = 0, row = 0;
    if (!clickedCell(column, row)) return;
    bool right = platform().currentEvent().kind == EventKind::RightPress;
    game.noteMode = right;
    if (game.givens(column, row) != 0) return;

    if (!right) {
        if (!pickCell(column, row)) return;
        updateStatistics();
    } else if (game.board(column, row) == 0) {
        if (!pickCell(column, row)) return;
    } else {
        game.board(column, row) = 0;
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
    game.noteMode = false;

    auto removeGiven = [&] {
        game.board(column, row) = 0;
        game.givens(column, row) = 0;
        drawEntryCell(column, row, 0);
        refreshCandidatesIfShown();
    };

    if (right) {
        if (game.givens(column, row) != 0) removeGiven();
    } else {
        if (!pickCell(column, row)) return;
        if (game.pickerCleared || game.board(column, row) == 0) removeGiven();
        else drawGivenCell(column, row, game.pickerHover);
    }
    updateStatistics();
    showDifficultyLine();
}

bool swallowPickerKeyRelease(int virtualKey) {
    int pending = game.pickerKeyRelease;
    game.pickerKeyRelease = 0;
    return pending != 0 && pending == virtualKey;
}

}  // namespace nonari
