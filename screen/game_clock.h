// The game clock: the running display, the final time and the thread that refreshes the label.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace nonari {

inline constexpr const char* idleClockText = " 99:99:99";
inline constexpr const char* startClockText = " 00:00:00";

// Shows the running time, or, with the clock stopped, ends the clock thread and shows the idle text.
void updateClock();
// At the win: reads the final time into finalTime, shows it and stops the clock. What follows the
// win (the record check, the idle text) is the caller's.
void takeFinalTime();
// Body of the clock thread: refreshes the label at every whole second of the game until the game ends.
void clockThread();
// Starts clockThread for the game being timed; a thread of an earlier game is ended first.
void startClockThread();
// Ends the clock thread and waits for it; nothing it refreshed reaches the label afterwards.
void joinClockThread();
// A pause of the timed game: the label keeps the time reached and the thread rests.
void pauseClock();
// The game goes on after a pause that began at pausedAt: the paused span is not counted.
void resumeClock(double pausedAt);
// Sets drawingBusy; clearing it lets a refresh held back meanwhile through at once.
void setDrawingBusy(bool busy);

// Refresh of the running time from the current time t; false when t lies in the same whole second
// of the game as the last refresh.
bool refreshRunningTime(double t);
std::string twoDigits(long value);
std::string runningClockText(long hours, long minutes, double rest);
std::string finalClockText(long hours, long minutes, double rest);

}  // namespace nonari
