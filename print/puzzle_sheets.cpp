// Printing a sheet of four fresh puzzles, Leicht to Extrem.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/puzzle_sheets.h"

#include "files/board_record.h"
#include "logic/shuffle.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "print/board_print.h"
#include "state/game_state.h"

namespace nonari {

namespace {

// Draws grid k, loads and shuffles its puzzle and prints its givens and caption.
// False when the printer failed before the puzzle was loaded.
bool printSheetPuzzle(int k, int cellW, int cellH) {
    Platform& pf = platform();
    const int unitX = printUnitX();
    const int unitY = printUnitY();
    const int ox = nint((k % 2) * 40.0 * unitX);
    const int oy = nint((k / 2) * 32.0 * unitY);

    printGrid(nint(3.0 * unitX) + ox, nint(3.0 * unitY) + oy, cellW, cellH, 8);
    if (pf.printerFailed()) return false;

    game.dialog.currentFile = collectionFile(k);
    static_cast<void>(readBoardRecord(static_cast<std::int16_t>(random(4))));  // no file: the board as it is
    shuffleBoard(game.puzzle.board, game.puzzle.givens,
                 shuffleKeepsSymmetry(game.settings.symmetryOn, game.settings.difficulty));

    pf.setPrinterFont("ARIAL", 20);
    game.screen.givenCount = 0;
    for (int column = 1; column <= 9; ++column)
        for (int row = 1; row <= 9; ++row) {
            const int value = game.puzzle.givens(column, row);
            if (value == 0) continue;
            printCellText(column, row, value, nint(4.0 * unitX) + nint((column - 1.0) * cellW) + ox,
                          nint(3.5 * unitY) + nint((row - 1.0) * cellH) + oy);
        }

    pf.setPrinterFont("ARIAL", 10);
    pf.drawText(nint(3.0 * unitX) + ox, nint(30.5 * unitY) + oy, printCaption(k, game.screen.givenCount));
    return true;
}

}  // namespace

void printSheets() {
    if (!startPrintJob("Spiele drucken", 20)) return abandonPrintJob();
    const int cellW = nint(4.0 * printUnitX());
    const int cellH = nint(3.0 * printUnitY());
    for (int k = 0; k <= 3; ++k) {
        // Stop at the first failure: the puzzles loaded so far stay in the game.
        if (platform().printerFailed() || !printSheetPuzzle(k, cellW, cellH)) return abandonPrintJob();
    }
    if (!finishPrintJob()) abandonPrintJob();
}

}  // namespace nonari
