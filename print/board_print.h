// Printing the current board on one page, and the printing frame the puzzle sheets share.
#pragma once

namespace nonari {

void printBoard();
// Makes the printer the drawing target, letting the player choose one when none is usable.
bool selectPrinter();
// One cell's text at the origin of its cell area (x0, y0 already include the job's offsets).
void printCellText(int column, int row, int value, int x0, int y0);
// nint: rounding halves to the even neighbour.
int nint(double value);

}  // namespace nonari
