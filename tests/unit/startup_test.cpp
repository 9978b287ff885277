// Running the program: the way out, also from inside a play loop.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "files/settings_file.h"
#include "logic/puzzle_reserve.h"
#include "tests/support/test_support.h"

namespace nonari {
namespace {

using StartupTest = test::HeadlessGame;

// With "Frische Rätsel" kept from an earlier run, the maker runs from the start and ends with the program.
TEST_F(StartupTest, EndingIsAskedFirstAndUnwindsANestedPlayLoop) {
    const std::string kept = "frische_raetsel=1\n";
    test::writeBytes(settingsFile, {kept.begin(), kept.end()});
    pf.endWhenScriptEmpty = false;
    pf.messageBoxAnswers = {2, 1};
    pf.pushStep([] { Win_0_Close(); });  // NEIN: the game goes on
    pf.pushStep([this] { EXPECT_FALSE(pf.appEnding()); });
    pf.pushMenu(menuId(MenuCommand::StartGame));  // a play loop ...
    pf.pushMenu(menuId(MenuCommand::Exit));  // ... inside which the player ends the program with JA
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding() && !pf.windowOpen && !game.clock.clockRunning);
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Spiel beenden?", "Spiel beenden?"}));
    EXPECT_TRUE(game.settings.freshPuzzles && pf.checks[menuId(MenuCommand::FreshPuzzles)]);
    EXPECT_FALSE(takeFreshPuzzle(4)) << "the maker has ended";
}

}  // namespace
}  // namespace nonari
