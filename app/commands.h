// The one dispatcher of every command: the menu's, and those of the play loops' painted buttons and keys.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace nonari {

inline constexpr const char* helpTextClickCell = "Bitte ein Feld anklicken!";
inline constexpr const char* helpTextChooseMenu = "Bitte Menupunkt auswählen!";

// What a painted button or a key of a play loop asks for.
enum class PlayCommand {
    Load, Save, Print, Restart, Help, Abort,                 // the six buttons and their keys
    Solve, FillNotes, ClearNotes, SwitchCandidates, Shuffle, // K then O, F, C, M, X
    Hint                                                     // T
};

// The two play loops: a game, and typing in an own board.
enum class PlayMode { Game, OwnBoard };

// The seed of the fresh-puzzle maker, drawn from the program's one generator.
std::uint32_t freshPuzzleSeed();
// A menu command, with what every menu command does before and after it.
void Win_0_MenuEvent(int id);
// A command of a play loop; false when the loop is to end.
bool runPlayCommand(PlayCommand command, PlayMode mode);

}  // namespace nonari
