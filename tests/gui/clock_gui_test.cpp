// The game clock on Qt, where the clock thread's texts reach the label later, posted to the GUI thread.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/play_loops.h"
#include "platform/system.h"
#include "screen/game_clock.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QLabel>

namespace nonari::test {
namespace {

class ClockOnQt : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        game.screen.uhr = pf->createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
    }
    void TearDown() override {
        game.clock.clockRunning = false;
        joinClockThread();
        delete qt_testing::label(game.screen.uhr);
        QtPlatformTest::TearDown();
    }
    std::string label() { return qt_testing::label(game.screen.uhr)->text().toStdString(); }
    static void startTimedGame(double elapsed) {
        game.clock.clockRunning = true;
        game.clock.gameWon = false;
        game.clock.startTime = currentTime() - elapsed;
        game.clock.lastClockSecond = -1.0;
    }
};

TEST_F(ClockOnQt, RunningTimeReachesTheLabelAndAbbruchLeavesTheIdleTextWhateverTheThreadRefreshedBefore) {
    startTimedGame(0.8);
    startClockThread();
    QTRY_COMPARE_WITH_TIMEOUT(label(), std::string(" 00:00:01"), 2000);
    // Games aborted at different moments of their second, the thread due to refresh at once.
    for (double elapsed : {0.999, 0.97, 0.6, 0.2}) {
        SCOPED_TRACE(elapsed);
        startTimedGame(elapsed);
        QTest::keyPress(qt_testing::canvas(), Qt::Key_Escape);  // read by the play loop as Abbruch
        QTest::keyRelease(qt_testing::canvas(), Qt::Key_Escape);
        playLoop();
        EXPECT_EQ(game.clock.clockThreadId, 0) << "the stop ends the thread for certain";
        QTest::qWait(60);  // everything posted before the stop arrives
        EXPECT_EQ(label(), idleClockText);
    }
}

}  // namespace
}  // namespace nonari::test
