// Cell entry: the digit picker's modal loop, note mode, the board clicks of both play loops and the won game.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nonari {

// The picker drawn over the cell waits for a square, a key or the right button. False when it went
// without a choice: the program is ending, or a menu command ran meanwhile.
bool runDigitPicker(int column, int row);
void waitMouseRelease();
// Board clicks: during a game, and during own-board entry.
void handleBoardClick();
void handleOwnBoardClick();
// True when this key release belongs to the key the picker just took as a digit; forgets it either way.
bool swallowPickerKeyRelease(int virtualKey);

}  // namespace nonari
