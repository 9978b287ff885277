// The small candidate marks in the empty cells and their refresh.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nonari {

// With "Zeige Kandidaten" on: stops the clock and recomputes the candidates; then draws the marks.
void showAllCandidates();
void drawCandidateMarks();
// The marks of one cell; none when it holds a digit.
void drawCellMarks(int x, int y);
// Top-left corner of the mark of digit d in cell (x, y).
int candidateMarkLeft(int x, int d);
int candidateMarkTop(int y, int d);

}  // namespace nonari
