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
// The 81 cells alone, without the panels or the candidate marks.
void drawBoardCells();
// One cell as the grids have it: ground, digit, marks and the keyboard's frame.
void drawCell(int column, int row);
// What frames the cell after its ground and marks: a hint's, while the board is the one it was made for, and
// the keyboard's on top.
void drawCellFrames(int column, int row);
// The keyboard's frame: drawn on its cell again, moved to another cell, or taken off.
void drawCursorFrame();
void placeCursor(int column, int row);
void hideCursor();
// Repaints the cells whose clash mark no longer matches the board and the setting.
void refreshClashMarks();
// The pause: every cell covered, nothing of the board to be read.
void coverBoard();
// Empties board, givens and notes, then redraws the board.
void clearBoard();
// The solve command on the game's grids, each step shown as it happens.
void solveOnScreen();

}  // namespace nonari
