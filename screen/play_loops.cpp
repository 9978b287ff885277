// The six painted buttons below the board and the two play loops that dispatch keys, buttons and board clicks.
#include "screen/play_loops.h"

#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "help/help_launch.h"
#include "logic/game_clock.h"
#include "logic/rules.h"
#include "logic/shuffle.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "print/board_print.h"
#include "screen/board_view.h"
#include "screen/digit_picker.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

#include <array>

namespace nonari {

namespace {

enum Button { Laden, Sichern, Drucken, Neustart, Hilfe, Abbruch, NoButton };

struct PaintedButton {
    const char* label;
    int left;
    int zoneLeft;
    int zoneRight;
    int key;
};

constexpr int buttonTop = 598;
constexpr std::array<PaintedButton, 6> buttons{{
    {" _Laden ", 30, 29, 107, 'L'},
    {" _Sichern ", 108, 108, 201, 'S'},
    {" _Drucken ", 202, 202, 295, 'D'},
    {" _Neustart ", 296, 296, 397, 'N'},
    {" _Hilfe ", 398, 398, 475, 'H'},
    // Abbruch takes clicks up to the strip's end, beyond the drawn button.
    {" _Abbruch ", 476, 476, 612, 'A'},
}};

constexpr int escapeKey = 27;

enum class Loop { Play, OwnBoard };

void drawAllButtons() {
    for (const auto& button : buttons) drawButton(0, button.left, buttonTop, button.label);
}

Button buttonAt(int x, int y) {
    if (y < 597 || y > 623) return NoButton;
    for (int b = 0; b < 6; ++b)
        if (x >= buttons[static_cast<std::size_t>(b)].zoneLeft && x <= buttons[static_cast<std::size_t>(b)].zoneRight)
            return static_cast<Button>(b);
    return NoButton;
}

Button buttonForKey(int key) {
    if (key == escapeKey) return Abbruch;
    // In letters mode "a" is a digit of the picker, not Abbruch.
    if (key == 'A' && !game.settings.numbersMode) return NoButton;
    for (int b = 0; b < 6; ++b)
        if (buttons[static_cast<std::size_t>(b)].key == key) return static_cast<Button>(b);
    return NoButton;
}

void runButtonAction(Button button, Loop loop) {
    switch (button) {
        case Laden:
            game.dialog.currentFile = savedBoardFile;
            openLoadDialog();
            if (platform().appEnding()) return;
            showDifficultyLine();
            drawBoard();
            if (loop == Loop::Play) updateClock();
            break;
        case Sichern: openSaveDialog(); break;
        case Drucken: printBoard(); break;
        case Neustart:
            restartBoard(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates);
            drawBoard();
            break;
        case Hilfe: showRulesHelp(); break;
        default: break;
    }
}

// Presses a button; false when the loop is to end (Abbruch, or the program is ending).
bool pressButton(Button button, Loop loop) {
    const PaintedButton& painted = buttons[static_cast<std::size_t>(button)];
    drawButton(1, painted.left, buttonTop, painted.label);
    if (button == Abbruch) {
        // The pressed look stays until the menu command puts the saved strip back.
        if (loop == Loop::Play) game.clock.clockRunning = false;
        sleepMilliseconds(200);  // lets the pressed look be seen
        if (loop == Loop::Play) updateClock();  // ends the clock thread, then shows the idle text
        return false;
    }
    runButtonAction(button, loop);
    if (platform().appEnding()) return false;
    waitMouseRelease();
    if (platform().appEnding()) return false;
    drawButton(0, painted.left, buttonTop, painted.label);
    return true;
}

void solveFromKeys(Loop loop) {
    if (loop == Loop::Play) {
        game.clock.clockRunning = false;
        solveOnScreen();
        updateClock();
    } else {
        solveOnScreen();
    }
}

// One key release; false when the loop is to end.
bool handleKey(int key, Loop loop, bool& kRemembered) {
    if (swallowPickerKeyRelease(key)) return true;
    Button button = buttonForKey(key);
    if (button != NoButton) return pressButton(button, loop);
    switch (key) {
        case 'K': kRemembered = true; break;
        case 'O':
            if (kRemembered) solveFromKeys(loop);
            kRemembered = false;
            break;
        case 'F':
            if (loop == Loop::Play) {
                game.puzzle.candidates.fill(true);
                drawBoard();
            }
            break;
        case 'C':
            if (loop == Loop::Play) {
                game.puzzle.candidates.clear();
                drawBoard();
            }
            break;
        case 'M':
            if (loop == Loop::Play) game.clock.clockRunning = false;
            game.puzzle.candidates.clear();
            game.settings.showCandidates = !game.settings.showCandidates;
            drawBoard();
            // Switching the candidates off stops the clock as well, and the label must say so.
            if (loop == Loop::Play) updateClock();
            break;
        case 'X':
            if (loop == Loop::OwnBoard) {
                shuffleBoard(game.puzzle.board, game.puzzle.givens, shuffleKeepsSymmetry(game.settings.symmetryOn, game.settings.difficulty));
                drawBoard();
            }
            break;
        default: break;
    }
    return true;
}

void runLoop(Loop loop) {
    Platform& p = platform();
    bool kRemembered = false;
    while (true) {
        InputEvent event = p.waitEvent();
        if (p.appEnding()) return;
        if (event.kind == EventKind::KeyUp) {
            if (!handleKey(event.code, loop, kRemembered)) return;
            if (p.appEnding()) return;
            continue;
        }
        if (event.kind == EventKind::LeftPress) {
            Button button = buttonAt(game.picker.mouseX, game.picker.mouseY);
            if (button != NoButton) {
                if (!pressButton(button, loop)) return;
                continue;
            }
        }
        game.picker.noteMode = false;
        if (event.kind == EventKind::LeftPress || event.kind == EventKind::RightPress) {
            if (loop == Loop::Play) handleBoardClick();
            else handleOwnBoardClick();
            if (p.appEnding()) return;
        }
    }
}

}  // namespace

void drawButton(int state, int x, int y, const std::string& label) {
    Platform& p = platform();
    p.showPointer(false);
    std::size_t underscore = label.find('_');
    int k = underscore == std::string::npos ? 0 : static_cast<int>(underscore) + 1;
    int n = static_cast<int>(label.size()) - 1;
    std::string shown = label;
    std::string hot;
    if (k != 0 && underscore + 1 < label.size()) {
        hot = label.substr(underscore + 1, 1);
        shown = label.substr(0, underscore) + " " + label.substr(underscore + 2);
    } else if (k != 0) {
        shown = label.substr(0, underscore) + " ";
    }

    int right = x + 8 * n + 20;
    drawBevelFrame(state, 2, x, y, right, y + 26);
    p.setPenColour(colour(Black));
    p.drawBox(x - 1, y - 1, right, y + 26);

    int tx = x + 4 * (n - 1 - static_cast<int>(shown.size())) + 14;
    int ty = y + 20;
    if (game.screen.largeFonts) {
        tx -= 8;
        ty -= 2;
    }
    drawShadowText(14, Black, game.screen.largeFonts ? tx - 12 : tx, ty, shown);

    if (!hot.empty()) {
        int hx = tx + 8 * (k - 1) - (k == 1 ? 1 : 0);
        int hy = ty - 14;
        selectFont(14);
        p.setTextOpaque(false);
        p.setRasterMode(RasterMode::CopyPen);
        p.setPenColour(colour(White));
        p.drawText(hx, hy, hot);
        p.setPenColour(colour(DarkRed));
        p.setRasterMode(RasterMode::XorPen);
        p.drawText(hx - 1, hy - 1, hot);
    }

    p.showPointer(true);
    p.setRasterMode(RasterMode::CopyPen);
    p.setTextOpaque(true);
    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
}

void playLoop() {
    drawBoard();
    drawAllButtons();
    if (game.clock.clockRunning) startClockThread();
    runLoop(Loop::Play);
}

void ownBoardLoop() {
    game.picker.ownBoardMode = true;
    drawAllButtons();
    runLoop(Loop::OwnBoard);
}

}  // namespace nonari
