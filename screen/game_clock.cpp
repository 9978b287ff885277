// The game clock: the running display, the final time and the thread that refreshes the label.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/game_clock.h"

#include "platform/platform.h"
#include "platform/system.h"
#include "state/game_state.h"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace nonari {

namespace {

// Guards the refresh values, the thread's generation and its wake-ups. The thread checks the flags
// and writes the label while holding it, so once the GUI thread has taken it after a stop, nothing
// the thread refreshes can follow the idle text.
std::mutex clockMutex;
std::condition_variable clockWake;
// Each started thread belongs to one generation; moving it on ends the thread at once.
unsigned long clockGeneration = 0;
// The thread waits for drawingBusy to clear, to catch up on the refresh it held back.
bool catchUpWanted = false;

// A little past the second, so that the refresh surely sees the new one.
constexpr double wakeAfterSecond = 0.002;

std::string lastChars(const std::string& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

void showOnClock(const std::string& text) { platform().setLabelText(game.screen.uhr, text); }

// The running text of a refresh at t, or nothing when t lies in the same second as before. Needs clockMutex.
bool refreshedRunningText(double t, std::string& text) {
    if (!refreshRunningTime(t)) return false;
    text = runningClockText(game.clock.elapsedHours, game.clock.elapsedMinutes, game.clock.elapsedRest);
    return true;
}

std::chrono::duration<double> untilNextGameSecond() {
    double elapsed = std::max(0.0, currentTime() - game.clock.startTime);
    return std::chrono::duration<double>(std::floor(elapsed) + 1.0 - elapsed + wakeAfterSecond);
}

void runClockThread(unsigned long generation) {
    std::unique_lock<std::mutex> lock(clockMutex);
    auto ended = [generation] { return clockGeneration != generation || !game.clock.clockRunning; };
    while (!ended()) {
        // One wake-up a second: the label changes only when the game's second does.
        clockWake.wait_for(lock, untilNextGameSecond(), [generation] { return clockGeneration != generation; });
        if (ended()) return;
        if (game.clock.drawingBusy) {
            catchUpWanted = true;
            clockWake.wait(lock, [generation] { return clockGeneration != generation || !game.clock.drawingBusy; });
            catchUpWanted = false;
            if (ended()) return;
        }
        std::string text;
        if (!game.clock.gameWon && refreshedRunningText(currentTime(), text)) showOnClock(text);
    }
}

unsigned long currentGeneration() {
    std::lock_guard<std::mutex> lock(clockMutex);
    return clockGeneration;
}

}  // namespace

std::string twoDigits(long value) { return lastChars("0" + std::to_string(value), 2); }

std::string runningClockText(long hours, long minutes, double rest) {
    return " " + twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(static_cast<long>(std::floor(rest)));
}

std::string finalClockText(long hours, long minutes, double rest) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", std::round(rest * 10.0) / 10.0);
    return twoDigits(hours) + ":" + twoDigits(minutes) + ":" + lastChars(std::string("0") + seconds, 4);
}

bool refreshRunningTime(double t) {
    double elapsed = t - game.clock.startTime;
    if (elapsed < 0) elapsed = 0;
    // The current time cut to the whole seconds of the game: each game's seconds are its own.
    double second = game.clock.startTime + std::floor(elapsed);
    if (second == game.clock.lastClockSecond) return false;
    double hours = std::floor(elapsed / 3600.0);
    double rest = elapsed - 3600.0 * hours;
    double minutes = std::floor(rest / 60.0);
    rest -= 60.0 * minutes;
    game.clock.elapsedHours = static_cast<std::int32_t>(hours);
    game.clock.elapsedMinutes = static_cast<std::int32_t>(minutes);
    game.clock.elapsedRest = rest;
    game.clock.lastClockSecond = second;
    return true;
}

void updateClock() {
    if (!game.clock.clockRunning) {
        joinClockThread();
        showOnClock(idleClockText);
        return;
    }
    std::string text = startClockText;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        refreshedRunningText(currentTime(), text);
    }
    showOnClock(text);
}

void takeFinalTime() {
    std::string final;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        // The final time is read at the win itself, not taken from the last whole-second refresh,
        // which may lie up to a second back.
        game.clock.lastClockSecond = -1.0;
        refreshRunningTime(currentTime());
        final = finalClockText(game.clock.elapsedHours, game.clock.elapsedMinutes, game.clock.elapsedRest);
    }
    showOnClock(final);
    game.clock.finalTime = final;
    game.clock.clockRunning = false;
    joinClockThread();
}

void clockThread() { runClockThread(currentGeneration()); }

void startClockThread() {
    // A thread nobody joined would end the program abnormally when it exits.
    static std::once_flag joinAtExit;
    std::call_once(joinAtExit, [] { std::atexit([] { joinClockThread(); }); });
    joinClockThread();
    const unsigned long generation = currentGeneration();
    game.clock.clockThreadId = startThread([generation] { runClockThread(generation); });
}

void joinClockThread() {
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        ++clockGeneration;
    }
    clockWake.notify_all();
    ThreadHandle thread = game.clock.clockThreadId;
    game.clock.clockThreadId = 0;
    if (thread != 0) joinThread(thread);
}

void pauseClock() {
    joinClockThread();
    std::string reached;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        game.clock.lastClockSecond = -1.0;
        refreshedRunningText(currentTime(), reached);
    }
    showOnClock(reached);
}

void resumeClock(double pausedAt) {
    // The label shows the time reached until the thread's next second.
    game.clock.startTime = game.clock.startTime + (currentTime() - pausedAt);
    startClockThread();
}

void setDrawingBusy(bool busy) {
    std::lock_guard<std::mutex> lock(clockMutex);
    game.clock.drawingBusy = busy;
    if (!busy && catchUpWanted) clockWake.notify_all();
}

}  // namespace nonari
