// Time, date, random numbers, sleeping and threads: the machine services that need no window.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace nonari {

// Seconds with fractions from a monotonic clock (does not jump at midnight).
double currentTime();

// Today's date as "d.m.yyyy".
std::string todayText();

// Uniform 0..n-1 from the one generator of the program; n < 1 gives 0.
int random(int n);
// Seeds the generator; start-up seeds it once from the clock, tests seed it to replay a run.
void seedRandom(std::uint32_t seed);

void sleepMilliseconds(int ms);

// From now on SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C) no longer end the program at
// once: they are noted, and the event loop ends the game at its next turn, after a save in progress.
void catchEndSignals();
// True once one of them has come.
bool endSignalled();
// Becomes readable when one comes, for an event loop to wake on; -1 before catchEndSignals.
int endSignalDescriptor();

// Starts a background thread; joinThread waits for it to end.
using ThreadHandle = int;
ThreadHandle startThread(std::function<void()> body);
void joinThread(ThreadHandle thread);
// Joins every thread still known; called at exit.
void joinAllThreads();

}  // namespace nonari
