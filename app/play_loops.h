// The two play loops: a game, and typing in an own board. They dispatch keys, painted buttons and board clicks.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nonari {

void playLoop();
void ownBoardLoop();

}  // namespace nonari
