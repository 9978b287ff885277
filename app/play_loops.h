// The two play loops: a game, and typing in an own board. They dispatch keys, painted buttons and board clicks.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nonari {

void playLoop();
void ownBoardLoop();
// True while a play loop waits further out, for example under a menu command chosen in it.
bool playLoopRunning();

}  // namespace nonari
