// The pop-up digit picker on the screen: drawing it over a cell, taking it off, and what lies under the pointer.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nonari {

inline constexpr int pickerSize = 90;

// The help panel's text while the picker is open: entering digits, or noting candidates.
const char* pickerHelpText();
void drawDigitPicker(int column, int row);
// Puts back the screen the picker covered, holding the clock's refresh back meanwhile.
void restorePickerBackground();
// Forgets the covered screen; the picker is closed.
void closePicker();
// A menu command ran while the picker waited: the picker goes without touching the cell, and the
// board is drawn afresh over what it covered.
void abandonPicker();
// Square 1..9 of the open picker under the point, 0 outside it.
int pickerSquareAt(int x, int y);
// The cell under the point; false outside the board.
bool cellAt(int x, int y, int& column, int& row);
// Follows the pointer; over the open picker it moves the highlight to the square under it.
void Win_0_MouseMove(int button, int shift, double x, double y);

}  // namespace nonari
