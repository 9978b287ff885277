// The hint of key T on the play screen: its line in the help panel and its marks on the board.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nonari {

// Shows the next step for the board as it stands and marks its cells; fills no cell.
void showHint();
// Draws the marks again while the board is the one they were made for (after the board was repainted).
void drawHintMarks();
// Takes the marks away once the board has changed: the next move ends a hint.
void refreshHintMarks();

}  // namespace nonari
