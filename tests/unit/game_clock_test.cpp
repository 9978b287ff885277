// The game clock: its texts, the final time of a won game and the thread that refreshes the label.
#include "logic/game_clock.h"

#include "tests/support/test_support.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace nonari {
namespace {

class GameClockTest : public test::HeadlessGame {
protected:
    void SetUp() override { HeadlessGame::SetUp(); game.uhr = pf.createLabel("uhr", 0, 0, 100, 20, "Arial", 12, 0); }
    std::string label() { return pf.labelText(game.uhr); }
    // Waits up to five seconds for the thread to show something other than text; empty when it never does.
    std::string waitForLabelOtherThan(const std::string& text) {
        for (int i = 0; i < 100 && label() == text; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return label() == text ? std::string() : label();
    }
    // The label stays as it is for longer than a second, the interval of the thread's refreshes.
    void expectLabelStays(const std::string& text) {
        pf.setLabelText(game.uhr, text);
        std::this_thread::sleep_for(std::chrono::milliseconds(1300));
        EXPECT_EQ(label(), text);
    }
    void startTimedGame(double elapsed) {
        game.clockRunning = true;
        game.gameWon = false;
        game.finalTime = "X";
        game.startTime = currentTime() - elapsed;
    }
};

TEST_F(GameClockTest, TextsRefreshOncePerSecondAndAtTheWinTheTimeReadThen) {
    EXPECT_EQ(runningClockText(0, 4, 27.9), " 00:04:27");
    EXPECT_EQ(finalClockText(0, 3, 59.96), "00:03:60.0");  // what the rule gives when the rest rounds up
    game.startTime = 1000.25;
    EXPECT_TRUE(refreshRunningTime(1000.25 + 3723.5));  // 1 h 2 min 3.5 s
    EXPECT_EQ(runningClockText(game.elapsedHours, game.elapsedMinutes, game.elapsedRest), " 01:02:03");
    EXPECT_FALSE(refreshRunningTime(1000.25 + 3723.7));  // within the same whole second nothing is recomputed
    EXPECT_TRUE(refreshRunningTime(1000.25 + 3724.0));
    EXPECT_NEAR(game.elapsedRest, 4.0, 1e-6);

    // The label: idle, running, and at the win the time read then.
    updateClock();
    EXPECT_EQ(label(), " 99:99:99");
    startTimedGame(65.26);
    game.lastClockSecond = -1.0;
    updateClock();
    EXPECT_EQ(std::tie(game.finalTime, game.clockRunning), std::make_tuple("X", true));
    EXPECT_EQ(label(), " 00:01:05");
    // The thread refreshed earlier in this same second; its values are stale by now.
    game.lastClockSecond = std::floor(currentTime());
    game.elapsedRest = 4.5;
    game.gameWon = game.nameConfirmed = true;
    std::string shownDuringCheck;
    pf.pushStep([&] { shownDuringCheck = label(); });
    updateClock();
    EXPECT_EQ(game.finalTime, "00:01:05.3");
    EXPECT_EQ(shownDuringCheck, "00:01:05.3");
    EXPECT_FALSE(game.clockRunning || game.nameConfirmed);  // the record check ran
    EXPECT_EQ(label(), idleClockText);
}

TEST_F(GameClockTest, ThreadRefreshesTheLabelUntilItsGameEnds) {
    startTimedGame(10.0);
    pf.setLabelText(game.uhr, "start");
    startClockThread();
    std::string shown = waitForLabelOtherThan("start");
    EXPECT_TRUE(shown == " 00:00:10" || shown == " 00:00:11") << shown;
    // While the picker draws, the thread keeps its hands off the label; it catches up afterwards.
    game.drawingBusy = true;
    expectLabelStays("busy");
    game.drawingBusy = false;
    EXPECT_NE(waitForLabelOtherThan("busy"), "");
    // A won game's label belongs to the record check.
    game.gameWon = true;
    expectLabelStays("won");
    // A new game's thread ends the one of the earlier game, which is still timed.
    const ThreadHandle earlier = game.clockThreadId;
    startTimedGame(100.0);
    pf.setLabelText(game.uhr, "new");
    startClockThread();
    EXPECT_NE(game.clockThreadId, earlier);
    shown = waitForLabelOtherThan("new");
    EXPECT_TRUE(shown == " 00:01:40" || shown == " 00:01:41") << shown;
    // With the flag cleared the thread ends by itself.
    game.clockRunning = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    expectLabelStays(idleClockText);
    joinClockThread();
    EXPECT_EQ(game.clockThreadId, 0);
}

}  // namespace
}  // namespace nonari
