// The one shared game state: grids, settings, progress flags and the values handlers, dialogs and loops exchange.
#pragma once

#include "platform/platform.h"
#include "platform/system.h"
#include "state/grids.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

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

using ChampionTable = std::array<std::array<std::string, 11>, 5>;  // difficulty 0..4 x place 0..10

struct GameState {
    // Grids of the puzzle.
    Grid board;
    Grid givens;
    CandidateGrid candidates;
    std::array<std::uint8_t, 1000> candidateBytes{};

    // Working grids and tables.
    std::array<std::uint8_t, 10> digitCount{};
    std::array<std::string, 5> difficultyName{};
    ChampionTable championName{};
    ChampionTable championDate{};
    ChampionTable championTime{};
    std::array<Rgb, 16> colourTable{};

    // Settings.
    std::int16_t difficulty = 0;
    bool numbersMode = true;
    bool showCandidates = false;
    bool symmetryOn = true;

    // Progress of the current game.
    Shared<bool> clockRunning = false;
    Shared<double> startTime = 0.0;
    Shared<bool> gameWon = false;
    std::string finalTime;
    bool boardFull = false;
    bool ownBoardMode = false;

    // Values exchanged between handlers, dialogs and loops.
    std::int32_t lastCommand = 0;
    std::string currentFile;
    std::string helpText;
    std::int16_t answer = 0;
    bool abortInput = false;
    bool dialogClosed = false;
    std::int16_t selectedSlot = 0;
    bool slotDialogLoads = false;
    bool useHtmlHelp = false;

    // Screen geometry and fonts.
    int boardX = 29;
    int boardY = 45;
    int cellWidth = 60;
    int cellHeight = 60;
    bool largeFonts = false;
    bool screenFontsCreated = false;
    SavedAreaId savedStrip = 0;
    LabelId uhr = 0;

    // Side panels.
    std::string statusText;
    std::int16_t givenCount = 0;

    // Digit picker.
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
    SavedAreaId pickerBackground = 0;
    Shared<bool> drawingBusy = false;
    // Virtual-key code of the key whose character the picker took; its release is not a play-loop key.
    int pickerKeyRelease = 0;

    // Game clock: the refresh values both threads write.
    Shared<double> lastClockSecond = -1.0;
    Shared<std::int32_t> elapsedHours = 0;
    Shared<std::int32_t> elapsedMinutes = 0;
    Shared<double> elapsedRest = 0.0;
    ThreadHandle clockThreadId = 0;

    // Record check.
    std::string lastChampionName;
    bool nameConfirmed = false;
};

// The one instance, alive for the whole run.
extern GameState game;

// Puts every field back to its value at program start (tables empty, settings initial,
// colour table and difficulty names filled).
void resetGameState();

// Colour indices of colourTable.
enum Colour : int {
    Black = 0, DarkRed = 1, DarkGreen = 2, Yellow = 3, DarkBlue = 4, Purple = 5, Teal = 6, LightGrey = 7,
    DarkGrey = 8, Red = 9, Green = 10, LightBeige = 11, BlueGrey = 12, Magenta = 13, Cyan = 14, White = 15
};

inline Rgb colour(int index) { return game.colourTable[static_cast<std::size_t>(index & 15)]; }

}  // namespace nonari
