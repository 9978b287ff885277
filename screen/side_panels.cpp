// The statistics, status, difficulty, help and time panels, and the error check behind the status.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/side_panels.h"

#include "logic/hint.h"
#include "logic/rules.h"
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/hint_view.h"
#include "screen/layout.h"
#include "state/game_state.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace nonari {

namespace {

struct PanelFrame {
    int x1, y1, x2, y2;      // raised outer frame
    int wellBottom;          // the well runs from (x1 + 6, y1 + 22) to (x2 - 6, wellBottom)
    int titleOffset;         // title reference point at (x1 + titleOffset, y1 + 19)
    const char* title;
};

constexpr PanelFrame statisticsPanel{603, 200, 837, 278, 272, 84, "STATISTIK:"};
constexpr PanelFrame statusPanel{603, 292, 837, 370, 364, 58, "STATUSMELDUNG:"};
constexpr PanelFrame difficultyPanel{603, 384, 837, 462, 456, 40, "SCHWIERIGKEITSGRAD:"};
constexpr PanelFrame helpPanel{603, 476, 837, 548, 542, 68, "HILFEFENSTER:"};
constexpr PanelFrame timePanel{623, 562, 815, 634, 628, 46, "ZEITMESSUNG:"};

void drawPanelFrame(const PanelFrame& panel) {
    Platform& p = platform();
    int wellX1 = panel.x1 + 6, wellY1 = panel.y1 + 22, wellX2 = panel.x2 - 6;
    drawBevelFrame(0, 2, panel.x1, panel.y1, panel.x2, panel.y2);
    drawBevelFrame(1, 2, wellX1, wellY1, wellX2, panel.wellBottom);
    drawShadowText(16, Black, panel.x1 + panel.titleOffset, panel.y1 + 19, panel.title);
    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
    p.drawFilledBox(wellX1, wellY1, wellX2 - 1, panel.wellBottom - 1);
}

// Panel texts cover what stood there before.
void panelTextState() {
    Platform& p = platform();
    p.setRasterMode(RasterMode::CopyPen);
    p.setTextOpaque(true);
    p.setPenColour(colour(Black));
    p.setFillColour(colour(White));
}

int digitHeaderX(int digit) { return 675 + 16 * (digit - 1); }

int givenCountY() { return game.screen.largeFonts ? 411 : 414; }

}  // namespace

const char* statusTextOf(BoardVerdict verdict) {
    switch (verdict) {
    case BoardVerdict::Solved: return statusSolved;
    case BoardVerdict::NoErrors: return statusNoErrors;
    case BoardVerdict::WrongDigit: break;
    }
    return statusWrong;
}

void drawStatisticsPanel() {
    Platform& p = platform();
    drawPanelFrame(statisticsPanel);
    panelTextState();
    selectFont(8);
    p.drawText(619, 232, game.settings.numbersMode ? "Zahlen" : "Ziffer");
    p.drawText(619, 252, "Anzahl");
    for (int d = 1; d <= 9; ++d) {
        int x = digitHeaderX(d);
        if (game.settings.numbersMode) {
            p.drawText(x, 232, std::to_string(d));
        } else {
            char letter = static_cast<char>(64 + d);
            int shift = (game.screen.largeFonts && letter != 'I') ? 4 : 8;
            p.drawText(x + shift, 232, std::string(1, letter));
        }
    }
    p.drawLine(615, 246, 825, 246);
    p.drawLine(674, 228, 674, 267);
    updateStatistics();
    drawStatusPanel();
}

void updateStatistics() {
    Platform& p = platform();
    std::array<int, 10> digitCount{};
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            int value = game.puzzle.board(x, y);
            // A record read from a file may hold any byte; only 0..9 are digits.
            if (value <= 9) ++digitCount[static_cast<std::size_t>(value)];
        }
    panelTextState();
    p.drawLine(674, 228, 674, 267);
    selectFont(8);
    for (int d = 1; d <= 9; ++d)
        p.drawText(659 + 16 * d, 252, std::to_string(digitCount[static_cast<std::size_t>(d)]) + " ");
    checkBoardStatus();
    refreshHintMarks();
}

void drawStatusPanel() {
    drawPanelFrame(statusPanel);
    checkBoardStatus();
}

void checkBoardStatus() {
    const BoardVerdict verdict = boardVerdict(game.puzzle.board);
    game.screen.statusText = statusTextOf(verdict);
    if (verdict == BoardVerdict::WrongDigit) platform().beep();
    game.screen.boardFull = isBoardFull(game.puzzle.board);
    panelTextState();
    selectFont(20);
    platform().drawText(626, 326, game.screen.statusText);
    refreshClashMarks();
}

void drawDifficultyPanel() {
    drawPanelFrame(difficultyPanel);
    panelTextState();
    // Still font 8 from the title.
    platform().drawText(631, givenCountY(), "Vorgegebene Zahlen: " + std::to_string(game.screen.givenCount));
    showDifficultyLine();
}

void showDifficultyLine() {
    Platform& p = platform();
    int count = 0;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (game.puzzle.givens(x, y) != 0) ++count;
    game.screen.givenCount = static_cast<std::int16_t>(count);
    panelTextState();
    selectFont(8);
    p.drawText(791, givenCountY(), std::to_string(game.screen.givenCount) + " ");
    selectFont(20);
    int difficulty = game.settings.difficulty >= 0 && game.settings.difficulty <= 4 ? game.settings.difficulty : 0;
    p.drawText(656, 426, std::string(difficultyName[static_cast<std::size_t>(difficulty)]) + "  ");
}

void drawHelpPanel() {
    drawPanelFrame(helpPanel);
    showHelpText();
}

void showHelpText() {
    Platform& p = platform();
    panelTextState();
    selectFont(8);
    std::string text = game.screen.helpText;
    const std::size_t end = text.find_last_not_of(' ');
    const std::vector<std::string> lines =
        wrapText(end == std::string::npos ? std::string() : text.substr(0, end + 1), helpLineCharacters);
    // Lines left by a longer text go first, as the panel is drawn anew.
    if (lines.size() > 1 || game.screen.helpTextWrapped) p.drawFilledBox(609, 498, 830, 541);
    game.screen.helpTextWrapped = lines.size() > 1;
    if (lines.size() > 1) {
        const int top = 515 - 13 * static_cast<int>(lines.size() - 1) / 2;
        for (std::size_t i = 0; i < lines.size(); ++i) p.drawText(616, top + 13 * static_cast<int>(i), lines[i]);
        return;
    }
    // Blanks to the field's end cover what a longer text left there.
    const std::ptrdiff_t characters = std::ranges::count_if(text, [](char c) { return (c & 0xC0) != 0x80; });
    if (characters < helpLineCharacters) text.append(static_cast<std::size_t>(helpLineCharacters - characters), ' ');
    p.drawText(616, 515, text);
}

void drawTimePanel() { drawPanelFrame(timePanel); }

}  // namespace nonari
