// Start-up, the event loop and the question before the program ends.
#pragma once

namespace nonari {

inline constexpr const char* applicationTitle = "Nonari QV V5.0 by Pelmo";

// Runs the whole program on the installed platform; returns when it ends.
int runNonari();
// Everything before the event loop (also used by tests).
void startNonari();
void Win_0_Close();
// "Spiel beenden?"; ends the program on JA.
void askExit();

}  // namespace nonari
