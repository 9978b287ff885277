// Whether a stored puzzle can be played: its digits break no rule, leave a cell to fill and can be completed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/grids.h"

namespace nonari {

// Some way exists to fill every empty cell by the rules; false when the digits already clash or a byte is
// no digit.
bool hasSolution(const Grid& board);

// A puzzle fit for a game: the board holds every given, breaks no rule, leaves a cell empty and can be
// completed (so the givens can too).
bool isUsablePuzzle(const Grid& board, const Grid& givens);

}  // namespace nonari
