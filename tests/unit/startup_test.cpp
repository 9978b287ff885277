// Start-up: window placement, the first state and the way out.
#include "app/commands.h"
#include "app/startup.h"
#include "logic/game_clock.h"
#include "tests/support/test_support.h"

namespace nonari {
namespace {

class StartupTest : public test::HeadlessGame {};

TEST_F(StartupTest, OpensCentredWithMenuStateAndIdleClock) {
    pf.screenW = 1024;
    pf.screenH = 768;
    startNonari();
    EXPECT_EQ(pf.title, applicationTitle);
    EXPECT_EQ(pf.windowX, 81);
    EXPECT_EQ(pf.windowY, 5);
    EXPECT_TRUE(pf.windowOpen);
    EXPECT_NE(pf.menuBar, 0);
    EXPECT_TRUE(pf.checks[30]);
    EXPECT_TRUE(pf.checks[40]);
    EXPECT_TRUE(pf.checks[45]);
    EXPECT_FALSE(pf.checks[44]);
    EXPECT_EQ(pf.labelText(game.uhr), idleClockText);
    EXPECT_EQ(game.helpText, helpTextChooseMenu);
    EXPECT_NE(game.savedStrip, 0);
    EXPECT_TRUE(game.useHtmlHelp);
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
    EXPECT_EQ(game.candidates, CandidateGrid{});
    // The hall of fame starts with empty places when there is no file.
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p) EXPECT_EQ(game.championTime[static_cast<std::size_t>(d)][static_cast<std::size_t>(p)], "9");
}

TEST_F(StartupTest, OddScreenSizesRoundThePosition) {
    pf.screenW = 1365;
    pf.screenH = 767;
    startNonari();
    EXPECT_EQ(pf.windowX, 252);
    EXPECT_EQ(pf.windowY, 37 - 32);
}

TEST_F(StartupTest, RunEndsWhenTheQuestionIsAnsweredYes) {
    pf.messageBoxAnswers = {2, 1};
    pf.pushStep([] { Win_0_Close(); });  // NEIN: the game goes on
    pf.pushStep([this] { EXPECT_FALSE(pf.appEnding()); });
    pf.pushStep([] { Win_0_Close(); });  // JA
    pf.endWhenScriptEmpty = false;
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding());
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Spiel beenden?", "Spiel beenden?"}));
    EXPECT_FALSE(pf.windowOpen);
}

TEST_F(StartupTest, EndingInsideANestedPlayLoopUnwinds) {
    pf.messageBoxAnswers = {1};
    pf.endWhenScriptEmpty = false;
    pf.pushMenu(10);                        // a play loop ...
    pf.pushMenu(99);                        // ... inside which the player ends the program
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding());
    EXPECT_FALSE(game.clockRunning);
}

}  // namespace
}  // namespace nonari
