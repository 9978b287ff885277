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
// The same for a cell, the right button or the left.
void boardClickAt(int column, int row, bool right);
void ownBoardClickAt(int column, int row, bool right);
// A digit key on a cell: as the picker would enter it (0 empties), or with note as the note picker toggles it.
void typeIntoCell(int column, int row, int digit, bool note, bool ownBoard);
// Enter on a cell: the picker opens there as for a left click; with note, the note picker as for a right one.
void openPickerAt(int column, int row, bool note, bool ownBoard);
// A timed game whose board is now solved is won: the final time, the record check, then the idle clock.
void completionTest();
// The help panel's text while the player picks a cell.
void showClickCellHelp();
// True when this key release belongs to the key the picker just took as a digit; forgets it either way.
bool swallowPickerKeyRelease(int virtualKey);

}  // namespace nonari
