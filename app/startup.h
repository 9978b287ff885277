// Start-up, the event loop and the question before the program ends.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace nonari {

inline constexpr const char* applicationTitle = "Nonari QV V5.0 by Pelmo";

// Makes the player's folder the working folder, creating it on first start. Returns the message
// for the player when it cannot be used (the working folder then stays as it was), else nothing.
std::string enterPlayerFolder();

// Runs the whole program on the installed platform; returns when it ends. A start-up notice is
// shown once the window is open.
int runNonari(const std::string& startupNotice = {});
// Everything before the event loop (also used by tests).
void startNonari();
void Win_0_Close();
// "Spiel beenden?"; ends the program on JA.
void askExit();
// Ends the program as JA to "Spiel beenden?" does, without asking: after a signal to end.
void endProgram();

}  // namespace nonari
