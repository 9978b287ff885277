// Printing the current board on one page, and the printing frame the puzzle sheets share.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/board_print.h"

#include "platform/platform.h"
#include "state/game_state.h"

#include <cmath>
#include <limits>

namespace nonari {

namespace {

// Page units of the job in progress, taken from the printer's resolution.
int unitX = 0;
int unitY = 0;

// The character with that code, as UTF-8 (codes above 127 only come from damaged records).
std::string characterText(int code) {
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

void failBoardPrint(std::int16_t givenCountBefore) {
    game.screen.givenCount = givenCountBefore;
    abandonPrintJob();
}

}  // namespace

int nint(double value) {
    if (std::isnan(value)) return 0;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) rounded = lower + 1.0;
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

bool selectPrinter() { return platform().selectPrinter(); }

bool startPrintJob(const std::string& document, double points) {
    Platform& pf = platform();
    if (!selectPrinter()) return false;
    if (!pf.startDocument(document) || !pf.startPage()) return false;
    pf.setPrinterFont("ARIAL", points);
    unitX = pf.targetResolutionX() / 80;
    unitY = pf.targetResolutionY() / 70;
    // A page too small to hold a single unit cannot carry the layout.
    return unitX > 0 && unitY > 0 && !pf.printerFailed();
}

int printUnitX() { return unitX; }
int printUnitY() { return unitY; }

void printGrid(int x, int y, int cellW, int cellH, int boxLineWidth) {
    Platform& pf = platform();
    pf.setLineWidth(2);
    int top = y;
    for (int row = 1; row <= 9; ++row) {
        int left = x;
        for (int column = 1; column <= 9; ++column) {
            pf.drawBox(left, top, left + cellW, top + cellH);
            left += cellW;
        }
        top += cellH;
    }
    pf.setLineWidth(boxLineWidth);
    const int boxW = nint(3.0 * cellW);
    const int boxH = nint(3.0 * cellH);
    top = y;
    for (int boxRow = 1; boxRow <= 3; ++boxRow) {
        int left = x;
        for (int boxColumn = 1; boxColumn <= 3; ++boxColumn) {
            pf.drawBox(left, top, left + boxW, top + boxH);
            left += boxW;
        }
        top += boxH;
    }
    pf.setLineWidth(1);
}

std::string printCaption(int difficulty, int count) {
    std::string name;
    if (difficulty >= 0 && difficulty <= 4) name = difficultyName[static_cast<std::size_t>(difficulty)];
    // "Teuflisch" lacks the trailing blank of the other names.
    const std::string gap = difficulty == 4 ? " " : "";
    return "Schwierigkeitsgrad: " + name + gap + "mit " + std::to_string(count) + " Zahlen";
}

bool finishPrintJob() {
    Platform& pf = platform();
    if (pf.printerFailed() || !pf.endPage() || !pf.endDocument()) return false;
    pf.targetWindow();
    return true;
}

void abandonPrintJob() {
    Platform& pf = platform();
    pf.abortDocument();
    pf.targetWindow();
    pf.messageBox("Druckerfehler!", MessageIcon::Exclamation, 1, "OK");
}

void printCellText(int column, int row, int value, int x0, int y0) {
    if (game.puzzle.givens(column, row) != 0) ++game.screen.givenCount;
    std::string text;
    int nudge = 11;
    if (game.settings.numbersMode) {
        text = std::to_string(value);
    } else {
        text = characterText(64 + value);
        nudge = text == "I" ? 5 : 8;
    }
    platform().drawText(x0 + nudge, y0 + 3, text);
}

void printBoard() {
    const std::int16_t givenCountBefore = game.screen.givenCount;
    if (!startPrintJob("Brett drucken", 54)) return failBoardPrint(givenCountBefore);

    const int cellW = nint(8.0 * unitX);
    const int cellH = nint(6.0 * unitY);
    printGrid(nint(5.0 * unitX), nint(3.0 * unitY), cellW, cellH, 10);

    game.screen.givenCount = 0;
    const int dx = nint(unitX / 2.0);
    const int dy = nint(-unitY / 3.0);
    for (int column = 1; column <= 9; ++column)
        for (int row = 1; row <= 9; ++row) {
            const int value = game.puzzle.board(column, row);
            if (value == 0) continue;
            printCellText(column, row, value, nint(6.5 * unitX) + nint((column - 1.0) * cellW) + dx,
                          nint(4.0 * unitY) + nint((row - 1.0) * cellH) + dy);
        }

    platform().setPrinterFont("ARIAL", 12);
    platform().drawText(nint(5.0 * unitX), nint(59.0 * unitY),
                        printCaption(game.settings.difficulty, game.screen.givenCount));
    if (!finishPrintJob()) failBoardPrint(givenCountBefore);
}

}  // namespace nonari
