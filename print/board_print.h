// Printing the current board on one page, and the printing frame the puzzle sheets share.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace nonari {

void printBoard();
// Makes the printer the drawing target, letting the player choose one when none is usable.
bool selectPrinter();
// One cell's text at the origin of its cell area (x0, y0 already include the job's offsets).
void printCellText(int column, int row, int value, int x0, int y0);
// nint: rounding halves to the even neighbour.
int nint(double value);

// The frame both print jobs share.
// Selects the printer, starts the named document and its page, sets "ARIAL" at that size
// and takes unitX and unitY from the page; false when the printer cannot be used.
bool startPrintJob(const std::string& document, double points);
int printUnitX();
int printUnitY();
// 81 cell outlines (width 2), then 9 box outlines of the given width, from the grid's top-left corner.
void printGrid(int x, int y, int cellW, int cellH, int boxLineWidth);
// "Schwierigkeitsgrad: ..." for a difficulty and a count of givens.
std::string printCaption(int difficulty, int count);
// Ends page and document and gives the drawing back to the main window; false on a printer failure.
bool finishPrintJob();
// Ends a failed job: abandons the document, gives the drawing back to the window, shows "Druckerfehler!".
void abandonPrintJob();

}  // namespace nonari
