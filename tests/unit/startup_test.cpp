// Start-up: window placement, the first state and the way out.
#include "app/commands.h"
#include "app/startup.h"
#include "logic/game_clock.h"
#include "tests/support/test_support.h"

#include <algorithm>

namespace nonari {
namespace {

using StartupTest = test::HeadlessGame;

TEST_F(StartupTest, OpensCentredWithMenuStateAndIdleClock) {
    startNonari();
    EXPECT_TRUE(pf.windowOpen && pf.menuBar != 0 && game.savedStrip != 0 && game.useHtmlHelp);
    EXPECT_EQ(std::tie(pf.title, pf.windowX, pf.windowY), std::make_tuple(std::string(applicationTitle), 81, 5));
    EXPECT_EQ(std::vector({pf.checks[30], pf.checks[40], pf.checks[44], pf.checks[45]}),
              std::vector({true, true, false, true}));
    EXPECT_EQ(pf.labelText(game.uhr) + "|" + game.helpText, std::string(idleClockText) + "|" + helpTextChooseMenu);
    EXPECT_EQ(std::tie(game.board, game.givens), std::make_tuple(Grid{}, Grid{}));
    EXPECT_EQ(game.candidates, CandidateGrid{});
    for (const auto& times : game.championTime)  // no file: the hall of fame starts with empty places
        EXPECT_TRUE(std::all_of(times.begin() + 1, times.end(), [](const std::string& t) { return t == "9"; }));

    pf.screenW = 1365;  // odd screen sizes round the position
    pf.screenH = 767;
    startNonari();
    EXPECT_EQ(std::make_pair(pf.windowX, pf.windowY), std::make_pair(252, 37 - 32));
}

TEST_F(StartupTest, RunEndsWhenTheQuestionIsAnsweredYes) {
    pf.endWhenScriptEmpty = false;
    pf.messageBoxAnswers = {2, 1};
    pf.pushStep([] { Win_0_Close(); });  // NEIN: the game goes on
    pf.pushStep([this] { EXPECT_FALSE(pf.appEnding()); });
    pf.pushStep([] { Win_0_Close(); });  // JA
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding() && !pf.windowOpen);
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Spiel beenden?", "Spiel beenden?"}));
}

TEST_F(StartupTest, EndingInsideANestedPlayLoopUnwinds) {
    pf.endWhenScriptEmpty = false;
    pf.messageBoxAnswers = {1};
    pf.pushMenu(10);  // a play loop ...
    pf.pushMenu(99);  // ... inside which the player ends the program
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding() && !game.clockRunning);
}

}  // namespace
}  // namespace nonari
