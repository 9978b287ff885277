// The nine small candidate marks of each empty cell, and their refresh from the rule layer.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/candidate_marks.h"

#include "logic/rules.h"
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/game_clock.h"
#include "screen/layout.h"
#include "state/game_state.h"

#include <string>

namespace nonari {

int candidateMarkLeft(int x, int d) { return game.screen.boardX + 60 * (x - 1) + 5 + 19 * ((d - 1) % 3); }

int candidateMarkTop(int y, int d) {
    int top = game.screen.boardY + 60 * (y - 1) + 1 + 19 * ((d - 1) / 3);
    // The bottom marks above a block line sit one pixel higher, clear of its upper half.
    if (d >= 7 && y % 3 == 0) --top;
    return top;
}

void showAllCandidates() {
    if (game.settings.showCandidates) {
        game.clock.clockRunning = false;
        updateClock();
        computeCandidates(game.puzzle.board, game.puzzle.candidates);
    }
    drawCandidateMarks();
}

void drawCandidateMarks() {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) drawCellMarks(x, y);
}

void drawCellMarks(int x, int y) {
    Platform& p = platform();
    if (game.puzzle.board(x, y) != 0) return;
    for (int d = 1; d <= 9; ++d) {
        int left = candidateMarkLeft(x, d);
        int top = candidateMarkTop(y, d);
        p.setPenColour(colour(White));
        p.setFillColour(colour(White));
        p.drawFilledBox(left, top, left + 15, top + 16);
        if (game.puzzle.candidates(x, y, d)) {
            p.setRasterMode(RasterMode::MergePen);
            p.setTextOpaque(false);
            p.setPenColour(colour(Black));
            p.setFillColour(colour(White));
            selectFont(18);
            std::string text =
                game.settings.numbersMode ? std::to_string(d) : std::string(1, static_cast<char>(64 + d));
            if (text == "I") left += 4;
            p.drawText(left, top, text);
            p.setRasterMode(RasterMode::CopyPen);
            p.setTextOpaque(true);
        } else {
            p.setPenColour(colour(Black));
            p.setFillColour(colour(White));
        }
    }
    drawCellFrames(x, y);  // the marks' ground reaches the cell's edge, where the frames lie
}

}  // namespace nonari
