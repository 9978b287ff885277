// The board shuffle that disguises a stored puzzle, in a symmetric and a free mode; board and givens move together.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/grids.h"

namespace nonari {

// The symmetric mode keeps a puzzle's look; "Teuflisch" (difficulty 4) puzzles are always shuffled freely.
bool shuffleKeepsSymmetry(bool symmetryOn, int difficulty);
void shuffleBoard(Grid& board, Grid& givens, bool keepSymmetry);
void swapRows(Grid& board, Grid& givens, int a, int b);
void swapColumns(Grid& board, Grid& givens, int a, int b);
void swapStacks(Grid& board, Grid& givens, int a, int b);
void swapBands(Grid& board, Grid& givens, int a, int b);
void swapMiddleLines(Grid& board, Grid& givens);
void flipRows(Grid& board, Grid& givens);
void flipColumns(Grid& board, Grid& givens);
void rotateBoard(Grid& board, Grid& givens);
void relabelDigits(Grid& board, Grid& givens);

}  // namespace nonari
