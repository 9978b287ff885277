// The two play loops: a game, and typing in an own board. They dispatch keys, painted buttons and board clicks.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/play_loops.h"

#include "app/cell_entry.h"
#include "app/commands.h"
#include "app/play_keys.h"
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/button_bar.h"
#include "screen/game_clock.h"
#include "state/game_state.h"

#include <optional>
#include <utility>

namespace nonari {

namespace {

constexpr int escapeKey = 27;

PlayCommand commandOf(Button button) {
    switch (button) {
    case Button::Laden: return PlayCommand::Load;
    case Button::Sichern: return PlayCommand::Save;
    case Button::Drucken: return PlayCommand::Print;
    case Button::Neustart: return PlayCommand::Restart;
    case Button::Hilfe: return PlayCommand::Help;
    default: return PlayCommand::Abort;
    }
}

Button buttonForKey(int key) {
    switch (key) {
    case 'L': return Button::Laden;
    case 'S': return Button::Sichern;
    case 'D': return Button::Drucken;
    case 'N': return Button::Neustart;
    case 'H': return Button::Hilfe;
    case escapeKey: return Button::Abbruch;
    // In letters mode "a" is a digit of the picker, not Abbruch.
    case 'A': return game.settings.numbersMode ? Button::Abbruch : Button::None;
    default: return Button::None;
    }
}

// The keys without a button; K only prepares O.
std::optional<PlayCommand> commandForKey(int key, PlayMode mode) {
    const bool inGame = mode == PlayMode::Game;
    switch (key) {
    case 'F': return inGame ? std::optional(PlayCommand::FillNotes) : std::nullopt;
    case 'C': return inGame ? std::optional(PlayCommand::ClearNotes) : std::nullopt;
    case 'M': return PlayCommand::SwitchCandidates;
    case 'X': return inGame ? std::nullopt : std::optional(PlayCommand::Shuffle);
    case 'T': return PlayCommand::Hint;
    default: return std::nullopt;
    }
}

// Presses a button; false when the loop is to end (Abbruch, or the program is ending).
bool pressButton(Button button, PlayMode mode) {
    drawButton(1, button);
    // Abbruch stays drawn pressed until the menu command puts the saved strip back.
    if (!runPlayCommand(commandOf(button), mode)) return false;
    waitMouseRelease();
    if (platform().appEnding()) return false;
    drawButton(0, button);
    return true;
}

// One key release; false when the loop is to end.
bool handleKey(const InputEvent& event, PlayMode mode, bool& kRemembered) {
    const int key = event.code;
    if (swallowPickerKeyRelease(key)) return true;
    if (handlePlayKey(event, mode)) return !platform().appEnding();
    Button button = buttonForKey(key);
    if (button != Button::None) return pressButton(button, mode);
    if (key == 'K') {
        kRemembered = true;
        return true;
    }
    if (key == 'O') {
        const bool solve = kRemembered;
        kRemembered = false;
        return !solve || runPlayCommand(PlayCommand::Solve, mode);
    }
    if (std::optional<PlayCommand> command = commandForKey(key, mode)) return runPlayCommand(*command, mode);
    return true;
}

int runningLoops = 0;  // play loops on the stack, nested ones included

void runLoop(PlayMode mode) {
    struct Running {
        Running() { ++runningLoops; }
        ~Running() { --runningLoops; }
    } running;
    Platform& p = platform();
    bool kRemembered = false;
    while (true) {
        recordStep();
        if (std::exchange(game.picker.windowHidden, false)) pauseGame(true);  // it went while the picker waited
        InputEvent event = p.waitEvent();
        if (p.appEnding()) return;
        if (event.kind == EventKind::Hidden) pauseGame(true);
        if (event.kind == EventKind::KeyUp) {
            if (!handleKey(event, mode, kRemembered)) return;
            continue;
        }
        if (event.kind == EventKind::LeftPress) {
            Button button = buttonAt(game.picker.mouseX, game.picker.mouseY);
            if (button != Button::None) {
                if (!pressButton(button, mode)) return;
                continue;
            }
        }
        game.picker.noteMode = false;
        if (event.kind == EventKind::LeftPress || event.kind == EventKind::RightPress) {
            cursorFollowsClick();
            if (mode == PlayMode::Game) handleBoardClick();
            else handleOwnBoardClick();
            if (p.appEnding()) return;
        }
    }
}

}  // namespace

void playLoop() {
    // A game opened from own-board entry is a game; the entry gets its mode back when the game ends.
    const bool outerMode = std::exchange(game.picker.ownBoardMode, false);
    drawBoard();
    drawButtonBar();
    if (game.clock.clockRunning) startClockThread();
    runLoop(PlayMode::Game);
    if (!platform().appEnding()) hideCursor();
    game.picker.ownBoardMode = outerMode;
}

void ownBoardLoop() {
    game.picker.ownBoardMode = true;
    startHistory();
    drawButtonBar();
    runLoop(PlayMode::OwnBoard);
    if (!platform().appEnding()) hideCursor();
}

bool playLoopRunning() { return runningLoops > 0; }

}  // namespace nonari
