// Rule checks on a board, its candidates, its verdict, and the reset of a game's grids to its givens.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/grids.h"

namespace nonari {

// What the error check reports about a board.
enum class BoardVerdict { WrongDigit, NoErrors, Solved };

// No column, row or box holds a digit twice.
bool isConsistent(const Grid& board);
// Whether d fits cell (x, y): the board with d written there is consistent. The board is not changed.
bool trialPlacement(const Grid& board, int x, int y, int d);
// Every empty cell has at least one digit that fits.
bool hasNoDeadCell(const Grid& board);
// Rewrites every candidate: the digits that fit each empty cell.
void computeCandidates(const Grid& board, CandidateGrid& candidates);
// Keeps the givens, empties every other cell and forgets all notes.
void restartBoard(Grid& board, const Grid& givens, CandidateGrid& candidates);
// Every digit 1..9 stands nine times on the board.
bool isBoardFull(const Grid& board);
// The digit in (x, y) stands once more in its column, row or box.
bool clashesAt(const Grid& board, int x, int y);
// 1 in every cell whose digit clashes so, 0 elsewhere: what the rules alone show to be wrong.
Grid clashingCells(const Grid& board);
// Wrong digit while any unit repeats one; solved when the board is also full; else no errors.
BoardVerdict boardVerdict(const Grid& board);

}  // namespace nonari
