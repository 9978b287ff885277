// The next step a person can take on a board, and its one German line.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logic/grader.h"
#include "state/grids.h"

#include <string>
#include <vector>

namespace nonari {

struct Hint {
    enum class Kind { Step, RuleBroken, WrongDigit, NoSolution, Solved, Stuck };
    Kind kind = Kind::Stuck;
    int unit = -1;   // RuleBroken, WrongDigit: the unit (0..8 rows, 9..17 columns, 18..26 boxes)
    int digit = 0;   // RuleBroken: the digit standing twice
    Step step;       // Step: what to do
};

// The hint for the board as it stands: a broken rule or a digit the solution does not have first, else the
// easiest step. `skip` passes over that many elimination steps, those shown before on the same board.
Hint nextHint(const Grid& board, const Grid& givens, int skip = 0);

// One German line naming the technique and the place; letters mode shows digits as "A".."I".
std::string hintText(const Hint& hint, bool numbersMode);

// The cells the hint rests on and those it changes, as (column, row) pairs 1..9.
std::vector<std::pair<int, int>> hintPatternCells(const Hint& hint);
std::vector<std::pair<int, int>> hintTargetCells(const Hint& hint);

// Splits a text into lines of at most `width` characters at blanks (UTF-8 aware).
std::vector<std::string> wrapText(const std::string& text, int width);

}  // namespace nonari
