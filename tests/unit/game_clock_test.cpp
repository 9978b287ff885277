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
    void startTimedGame(double elapsed) {
        game.clockRunning = true;
        game.gameWon = false;
        game.startTime = currentTime() - elapsed;
    }
};

TEST_F(GameClockTest, IdleRunningAndAtTheWinTheTimeReadThen) {
    updateClock();
    EXPECT_EQ(label(), " 99:99:99");
    startTimedGame(65.26);
    game.lastClockSecond = -1.0;
    updateClock();
    EXPECT_EQ(label(), " 00:01:05");
    EXPECT_TRUE(game.clockRunning);
    EXPECT_EQ(runningClockText(0, 4, 27.9), " 00:04:27");
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
}

TEST_F(GameClockTest, ThreadRefreshesTheLabelUntilItsGameEnds) {
    // A new game's thread ends the one of the earlier game, which is still timed.
    startTimedGame(10.0);
    startClockThread();
    const ThreadHandle earlier = game.clockThreadId;
    startTimedGame(100.0);
    pf.setLabelText(game.uhr, "new");
    startClockThread();
    EXPECT_NE(game.clockThreadId, earlier);
    const std::string shown = waitForLabelOtherThan("new");
    EXPECT_TRUE(shown == " 00:01:40" || shown == " 00:01:41") << shown;
    // With the flag cleared the thread ends by itself and leaves the label alone, for longer than its interval.
    game.clockRunning = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    pf.setLabelText(game.uhr, idleClockText);
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    EXPECT_EQ(label(), idleClockText);
    joinClockThread();
    EXPECT_EQ(game.clockThreadId, 0);
}

}  // namespace
}  // namespace nonari
