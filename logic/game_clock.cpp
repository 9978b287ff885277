// The game clock: the running display, the final time and the thread that refreshes the label.
#include "logic/game_clock.h"

#include "app/game_state.h"
#include "fame/record_check.h"

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

void showOnClock(const std::string& text) { platform().setLabelText(game.uhr, text); }

// The running text of a refresh at t, or nothing when t lies in the same second as before. Needs clockMutex.
bool refreshedRunningText(double t, std::string& text) {
    if (!refreshRunningTime(t)) return false;
    text = runningClockText(game.elapsedHours, game.elapsedMinutes, game.elapsedRest);
    return true;
}

std::chrono::duration<double> untilNextGameSecond() {
    double elapsed = std::max(0.0, currentTime() - game.startTime);
    return std::chrono::duration<double>(std::floor(elapsed) + 1.0 - elapsed + wakeAfterSecond);
}

void runClockThread(unsigned long generation) {
    std::unique_lock<std::mutex> lock(clockMutex);
    auto ended = [generation] { return clockGeneration != generation || !game.clockRunning; };
    while (!ended()) {
        // One wake-up a second: the label changes only when the game's second does.
        clockWake.wait_for(lock, untilNextGameSecond(), [generation] { return clockGeneration != generation; });
        if (ended()) return;
        if (game.drawingBusy) {
            catchUpWanted = true;
            clockWake.wait(lock, [generation] { return clockGeneration != generation || !game.drawingBusy; });
            catchUpWanted = false;
            if (ended()) return;
        }
        std::string text;
        if (!game.gameWon && refreshedRunningText(currentTime(), text)) showOnClock(text);
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
    double elapsed = t - game.startTime;
    if (elapsed < 0) elapsed = 0;
    // The current time cut to the whole seconds of the game: each game's seconds are its own.
    double second = game.startTime + std::floor(elapsed);
    if (second == game.lastClockSecond) return false;
    double hours = std::floor(elapsed / 3600.0);
    double rest = elapsed - 3600.0 * hours;
    double minutes = std::floor(rest / 60.0);
    rest -= 60.0 * minutes;
    game.elapsedHours = static_cast<std::int32_t>(hours);
    game.elapsedMinutes = static_cast<std::int32_t>(minutes);
    game.elapsedRest = rest;
    game.lastClockSecond = second;
    return true;
}

void updateClock() {
    if (!game.clockRunning) {
        joinClockThread();
        showOnClock(idleClockText);
        return;
    }
    std::string text = startClockText;
    std::string final;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        // The final time is read at the win itself, not taken from the last whole-second refresh,
        // which may lie up to a second back.
        if (game.gameWon) game.lastClockSecond = -1.0;
        refreshedRunningText(currentTime(), text);
        if (game.gameWon) final = finalClockText(game.elapsedHours, game.elapsedMinutes, game.elapsedRest);
    }
    if (game.gameWon) {
        showOnClock(final);
        game.finalTime = final;
        game.clockRunning = false;
        joinClockThread();
        checkForRecord();
        text = idleClockText;
    }
    showOnClock(text);
}

void clockThread() { runClockThread(currentGeneration()); }

void startClockThread() {
    // A thread nobody joined would end the program abnormally when it exits.
    static std::once_flag joinAtExit;
    std::call_once(joinAtExit, [] { std::atexit([] { joinClockThread(); }); });
    joinClockThread();
    const unsigned long generation = currentGeneration();
    game.clockThreadId = startThread([generation] { runClockThread(generation); });
}

void joinClockThread() {
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        ++clockGeneration;
    }
    clockWake.notify_all();
    ThreadHandle thread = game.clockThreadId;
    game.clockThreadId = 0;
    if (thread != 0) joinThread(thread);
}

void setDrawingBusy(bool busy) {
    std::lock_guard<std::mutex> lock(clockMutex);
    game.drawingBusy = busy;
    if (!busy && catchUpWanted) clockWake.notify_all();
}

}  // namespace nonari
