// The board shuffle that disguises a stored puzzle, in a symmetric and a free mode.
#pragma once

namespace nonari {

void shuffleBoard();
void swapRows(int a, int b);
void swapColumns(int a, int b);
void swapStacks(int a, int b);
void swapBands(int a, int b);
void swapMiddleLines();
void flipRows();
void flipColumns();
void rotateBoard();
void relabelDigits();

}  // namespace nonari
