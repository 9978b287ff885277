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

constexpr auto lookInterval = std::chrono::milliseconds(50);

// Keeps hours, minutes and rest of one refresh together when both threads refresh at once.
std::mutex refreshMutex;

// Each started thread belongs to one generation; a new game or a join moves the generation
// on, which ends the older thread at once instead of after its next look at the flags.
std::mutex generationMutex;
std::condition_variable generationChanged;
unsigned long clockGeneration = 0;

std::string lastChars(const std::string& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

void showOnClock(const std::string& text) { platform().setLabelText(game.uhr, text); }

// The running text of the last refresh, or nothing when t lies in the same second as before.
bool refreshedRunningText(double t, std::string& text) {
    std::lock_guard<std::mutex> lock(refreshMutex);
    if (!refreshRunningTime(t)) return false;
    text = runningClockText(game.elapsedHours, game.elapsedMinutes, game.elapsedRest);
    return true;
}

// Sleeps one look interval; false when the thread's generation has ended meanwhile.
bool waitForNextLook(unsigned long generation) {
    std::unique_lock<std::mutex> lock(generationMutex);
    return !generationChanged.wait_for(lock, lookInterval, [generation] { return clockGeneration != generation; });
}

void endEarlierThreads() {
    std::lock_guard<std::mutex> lock(generationMutex);
    ++clockGeneration;
    generationChanged.notify_all();
}

unsigned long currentGeneration() {
    std::lock_guard<std::mutex> lock(generationMutex);
    return clockGeneration;
}

void runClockThread(unsigned long generation) {
    do {
        if (!waitForNextLook(generation)) return;
        std::string text;
        if (!game.drawingBusy && refreshedRunningText(currentTime(), text) && !game.gameWon) showOnClock(text);
    } while (game.clockRunning);
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
    double second = std::floor(t);
    if (second == game.lastClockSecond) return false;
    double elapsed = t - game.startTime;
    if (elapsed < 0) elapsed = 0;
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
    std::string text = startClockText;
    if (!game.clockRunning) {
        showOnClock(idleClockText);
        return;
    }
    // The final time is read at the win itself, not taken from the last whole-second refresh,
    // which may lie up to a second back.
    if (game.gameWon) game.lastClockSecond = -1.0;
    refreshedRunningText(currentTime(), text);
    if (game.gameWon) {
        std::string final;
        {
            std::lock_guard<std::mutex> lock(refreshMutex);
            final = finalClockText(game.elapsedHours, game.elapsedMinutes, game.elapsedRest);
        }
        showOnClock(final);
        game.finalTime = final;
        game.clockRunning = false;
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
    endEarlierThreads();
    ThreadHandle thread = game.clockThreadId;
    game.clockThreadId = 0;
    if (thread != 0) joinThread(thread);
}

}  // namespace nonari
