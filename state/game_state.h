// The one shared game state, divided by owner: grids, settings, clock, screen, picker, dialogs, hall of fame.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/grids.h"
#include "state/step_history.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace nonari {

// A value the clock thread and the GUI thread both touch; copyable so the state can be reset whole.
template <typename T>
struct Shared {
    std::atomic<T> value;
    Shared(T v = T{}) : value(v) {}
    Shared(const Shared& other) : value(other.value.load()) {}
    Shared& operator=(const Shared& other) {
        value.store(other.value.load());
        return *this;
    }
    Shared& operator=(T v) {
        value.store(v);
        return *this;
    }
    operator T() const { return value.load(); }
};

// Difficulty 0..4, padded to one visual width for the difficulty panel and the print captions.
inline constexpr std::array<const char*, 5> difficultyName = {"  Leicht ", "  Mittel ", " Schwer ", " Extrem ",
                                                               "Teuflisch"};

// The grids of the board being played.
struct PuzzleState {
    Grid board;
    Grid givens;
    CandidateGrid candidates;
    bool operator==(const PuzzleState&) const = default;
};

// The player's settings, changed only by menu commands.
struct Settings {
    std::int16_t difficulty = 0;
    bool numbersMode = true;
    bool showCandidates = false;
    bool symmetryOn = true;
    bool markClashes = true;  // digits that break a rule are drawn in red
    // "&Frische Rätsel": new games take freshly made puzzles; the one setting kept between runs.
    bool freshPuzzles = false;
};

// The timing of the current game; the clock thread reads the flags and writes the refresh values.
struct ClockState {
    Shared<bool> clockRunning = false;
    Shared<double> startTime = 0.0;
    Shared<bool> gameWon = false;
    std::string finalTime;
    // Set by the digit picker while it saves, draws or restores pixels; the thread holds its refresh back.
    Shared<bool> drawingBusy = false;
    Shared<double> lastClockSecond = -1.0;
    Shared<std::int32_t> elapsedHours = 0;
    Shared<std::int32_t> elapsedMinutes = 0;
    Shared<double> elapsedRest = 0.0;
    int clockThreadId = 0;  // a platform thread handle, 0: none
};

// The play screen: geometry, fonts, saved areas, the clock label and what the panels show.
struct ScreenState {
    int boardX = 29;
    int boardY = 45;
    int cellWidth = 60;
    int cellHeight = 60;
    bool largeFonts = false;
    bool screenFontsCreated = false;
    int savedStrip = 0;  // platform ids, 0: none
    int uhr = 0;
    std::string helpText;
    std::string statusText;
    bool boardFull = false;
    std::int16_t givenCount = 0;
    Grid clashShown;  // 1 where a cell's digit is drawn marked as clashing
    bool boardCovered = false;  // the pause hides the cells
    // A help text too long for one line is shown in several; the next text clears them first.
    bool helpTextWrapped = false;
};

// The hint last shown (key T): the cells marked on the board until the next move, and how many of the steps
// found on this same board were shown, so that asking again goes on to the next.
struct HintState {
    std::vector<std::pair<int, int>> patternCells;  // (column, row)
    std::vector<std::pair<int, int>> targetCells;
    Grid board;
    int stepsShown = 0;
};

// Cell entry: the pointer, the digit picker, note mode and own-board entry.
struct PickerState {
    int mouseX = 0;
    int mouseY = 0;
    bool pickerActive = false;
    std::int16_t pickerX = 0;
    std::int16_t pickerY = 0;
    std::int16_t pickerColumn = 0;
    std::int16_t pickerRow = 0;
    std::int16_t pickerHover = 0;
    bool noteMode = false;
    bool pickerCleared = false;
    bool ownBoardMode = false;
    int pickerBackground = 0;  // a platform saved-area id, 0: none
    // Virtual-key code of the key whose character the picker took; its release is not a play-loop key.
    int pickerKeyRelease = 0;
    // The keyboard's cell, framed on the board once an arrow key was pressed in a play loop.
    bool cursorShown = false;
    std::int16_t cursorColumn = 1;
    std::int16_t cursorRow = 1;
    bool windowHidden = false;  // the window went while the picker waited: the game pauses after it
};

// Values that commands, dialogs and loops hand each other.
struct DialogState {
    std::int32_t lastCommand = 0;
    std::string currentFile;
    std::int16_t answer = 0;
    bool abortInput = false;
    bool dialogClosed = false;
    std::int16_t selectedSlot = 0;
    bool slotDialogLoads = false;
    bool useHtmlHelp = false;
};

using ChampionTable = std::array<std::array<std::string, 11>, 5>;  // difficulty 0..4 x place 0..10

// The hall of fame as loaded from its file, and the name last entered.
struct FameState {
    ChampionTable championName{};
    ChampionTable championDate{};
    ChampionTable championTime{};
    std::string lastChampionName;
    bool nameConfirmed = false;
};

struct GameState {
    PuzzleState puzzle;
    Settings settings;
    ClockState clock;
    ScreenState screen;
    PickerState picker;
    DialogState dialog;
    FameState fame;
    StepHistory<PuzzleState> history;  // the current game's changes, to take back and redo
    HintState hint;
};

// The one instance, alive for the whole run.
extern GameState game;

// Puts every field back to its value at program start.
void resetGameState();

}  // namespace nonari
