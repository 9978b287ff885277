// Rule checks on the whole board, candidates, and the two resets of a game's grids.
#pragma once

namespace nonari {

// No column, row or box holds a digit twice.
bool isConsistent();
bool isBoxConsistent(int bx, int by);
// Writes d into the empty cell, tests the whole board, empties the cell again.
bool trialPlacement(int x, int y, int d);
// Every empty cell has at least one digit that fits.
bool hasNoDeadCell();
void computeCandidates();
// Keeps the givens, empties every other cell and forgets all notes.
void restartBoard();
// Empties board, givens and notes, then redraws the board.
void clearBoard();

}  // namespace nonari
