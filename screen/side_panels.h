// The five panels beside the board and the error check that alone decides a board is solved.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logic/rules.h"

namespace nonari {

inline constexpr const char* statusWrong = "Falsche Zahl! ";
inline constexpr const char* statusNoErrors = "Keine Fehler! ";
inline constexpr const char* statusSolved = "Brett gelöst!!!";
// What one line of the help panel holds in its 8-pixel font; a longer help text is shown in up to three lines.
inline constexpr int helpLineCharacters = 26;

// The status panel's words for a verdict of the rules.
const char* statusTextOf(BoardVerdict verdict);
void drawStatisticsPanel();
void updateStatistics();
void drawStatusPanel();
void checkBoardStatus();
void drawDifficultyPanel();
void showDifficultyLine();
void drawHelpPanel();
void showHelpText();
void drawTimePanel();

}  // namespace nonari
