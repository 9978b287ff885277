// The human-style solver: ten passes of singles, then at most one guess on two-candidate cells.
#pragma once

namespace nonari {

void solveBoard();
void solveBoxSingles(int bx, int by);
void solveRowSingles(int y);
void solveColumnSingles(int x);
void guessPairs();
void guessPairsInRow(int y);
// What "&Brett lösen" and the keys K, O run: solve, and restart from the givens when wrong entries block it.
void solveCommand();

}  // namespace nonari
