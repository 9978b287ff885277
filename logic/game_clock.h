// The game clock: the running display, the final time and the thread that refreshes the label.
#pragma once

#include <string>

namespace nonari {

inline constexpr const char* idleClockText = " 99:99:99";
inline constexpr const char* startClockText = " 00:00:00";

void updateClock();
// Body of the clock thread: refreshes the label every whole second until clockRunning is cleared.
void clockThread();
// Starts clockThread for the game being timed; a thread of an earlier game is ended first.
void startClockThread();
// Waits for the clock thread to end (the caller has cleared clockRunning).
void joinClockThread();

// Refresh of the running time from the current time t; false when t lies in the same whole second as before.
bool refreshRunningTime(double t);
std::string twoDigits(long value);
std::string runningClockText(long hours, long minutes, double rest);
std::string finalClockText(long hours, long minutes, double rest);

}  // namespace nonari
