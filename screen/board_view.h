// Painting the 81 cells: givens on grey, entries on white, digits or letters.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace nonari {

// "1".."9", or "A".."I" in letters mode.
std::string glyphText(int digit);
void drawGivenCell(int column, int row, int digit);
void drawEntryCell(int column, int row, int digit);
void drawBoard();
// Empties board, givens and notes, then redraws the board.
void clearBoard();
// The solve command on the game's grids, each step shown as it happens.
void solveOnScreen();

}  // namespace nonari
