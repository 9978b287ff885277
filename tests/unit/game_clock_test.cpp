// The game clock: its texts, the final time of a won game and the thread that refreshes the label.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/game_clock.h"

#include "tests/support/test_support.h"

#include <chrono>
#include <thread>

namespace nonari {
namespace {

class GameClockTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        game.screen.uhr = pf.createLabel("uhr", 0, 0, 100, 20, "Arial", 12, 0);
    }
    std::string label() { return pf.labelText(game.screen.uhr); }
    void startTimedGame(double elapsed) {
        game.clock.clockRunning = true;
        game.clock.gameWon = false;
        game.clock.startTime = currentTime() - elapsed;
        game.clock.lastClockSecond = -1.0;
    }
};

TEST_F(GameClockTest, TheRunningTimeMovesOnWithTheGamesOwnSecondsAndTheWinReadsTheTimeThen) {
    // A game started 0.7 s into a second of the time source: its seconds are not the source's.
    game.clock.startTime = 100.7;
    game.clock.lastClockSecond = -1.0;
    EXPECT_TRUE(refreshRunningTime(101.2));
    EXPECT_FALSE(refreshRunningTime(101.6)) << "still the game's first second";
    ASSERT_TRUE(refreshRunningTime(101.71)) << "one second into the game the label must move on";
    const ClockState& clock = game.clock;
    EXPECT_EQ(runningClockText(clock.elapsedHours, clock.elapsedMinutes, clock.elapsedRest), " 00:00:01");
    EXPECT_EQ(runningClockText(0, 4, 27.9), " 00:04:27");
    game.clock.startTime = 100.71;  // a new game that reaches the same count of seconds still refreshes
    EXPECT_TRUE(refreshRunningTime(101.72));
    EXPECT_EQ(game.clock.elapsedRest, 101.72 - 100.71);

    startTimedGame(65.26);
    updateClock();
    EXPECT_EQ(label(), " 00:01:05");
    game.clock.elapsedRest = 4.5;  // the refresh was in this same second of the game; its values are stale by now
    game.clock.gameWon = true;
    takeFinalTime();
    EXPECT_EQ(game.clock.finalTime + "|" + label(), "00:01:05.3|00:01:05.3");
    EXPECT_FALSE(game.clock.clockRunning);
}

TEST_F(GameClockTest, TheThreadRefreshesTheLabelUntilItsGameEndsAndCatchesUpAfterADrawing) {
    // A new game's thread ends the one of the earlier game, which is still timed.
    startTimedGame(10.0);
    startClockThread();
    const ThreadHandle earlier = game.clock.clockThreadId;
    startTimedGame(100.5);
    setDrawingBusy(true);
    startClockThread();
    pf.setLabelText(game.screen.uhr, "busy");
    EXPECT_NE(game.clock.clockThreadId, earlier);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));  // past the game's next second
    EXPECT_EQ(label(), "busy") << "no refresh while the screen is drawn";
    setDrawingBusy(false);
    // Caught up at once, not only at the game's next second 0.7 s later.
    for (int i = 0; i < 40 && label() == "busy"; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(label(), " 00:01:41");
    // With the flag cleared the thread ends by itself and leaves the label alone, for longer than its interval.
    game.clock.clockRunning = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    pf.setLabelText(game.screen.uhr, "stopped");
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    EXPECT_EQ(label(), "stopped");
    updateClock();  // the stop waits for the thread and shows the idle text
    EXPECT_EQ(game.clock.clockThreadId, 0);
    EXPECT_EQ(label(), idleClockText);
}

}  // namespace
}  // namespace nonari
