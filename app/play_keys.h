// The play loops' keyboard: the cell cursor, digits and notes by key, taking changes back and the pause.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/commands.h"
#include "platform/platform.h"

namespace nonari {

inline constexpr const char* pauseHelpText = "Pause! Weiter: P o. Klick ";
inline constexpr const char* pauseHiddenHelpText = "Pause! Weiter: Taste/Klick";

// The current game's history begins anew with the board as it stands.
void startHistory();
// After each event of a play loop: whatever changed the board since becomes one step to take back.
void recordStep();
// A released key of the keyboard play; false when it is none of its keys, so that the loop's own act.
bool handlePlayKey(const InputEvent& event, PlayMode mode);
// A click on the board takes the shown cursor along.
void cursorFollowsClick();
// P, or the window hidden: a timed game's board is covered and its clock stands still until P or a
// click (after hiding, any key or click). Nothing outside a timed game.
void pauseGame(bool hidden);

}  // namespace nonari
