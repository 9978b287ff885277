// The human-style solver: ten passes of singles, then at most one guess on two-candidate cells.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/grids.h"

namespace nonari {

// What the solver reports while it works, so that a caller can show each step as it happens.
class SolverObserver {
public:
    virtual ~SolverObserver() = default;
    // A digit was written into cell (x, y); 0 when a failed guess's cell was emptied again.
    virtual void placed(int /*x*/, int /*y*/, int /*digit*/) {}
    // A run of the ten passes has ended (the board may be solved now).
    virtual void passesFinished() {}
    // The guesses of a row all failed and the board was put back without a report per cell.
    virtual void guessesUndone() {}
};

// Ten passes, then the guessing stage when the board is unsolved and no guess is being tried already.
void solveBoard(Grid& board, SolverObserver& observer);
void solveBoxSingles(Grid& board, int bx, int by, SolverObserver& observer);
void solveRowSingles(Grid& board, int y, SolverObserver& observer);
void solveColumnSingles(Grid& board, int x, SolverObserver& observer);
// What "&Brett lösen" and the keys K, O run: solve, and restart from the givens when wrong entries
// leave a cell without any fitting digit. True when the board ends solved.
bool solveCommand(Grid& board, const Grid& givens, CandidateGrid& candidates, SolverObserver& observer);

}  // namespace nonari
