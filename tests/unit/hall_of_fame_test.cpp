// The hall-of-fame dialog: its lists and tabs, and clearing one list after asking.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "tests/support/test_support.h"

namespace nonari {
namespace {

using HallOfFameTest = test::HeadlessGame;

TEST_F(HallOfFameTest, ListsShowFilledPlacesOnTheCurrentTabAndDeleteClearsOnlyTheChosenTabAfterJa) {
    pf.openMainWindow(200, 100, 862, 694);
    resetChampions();
    for (int d = 0; d < 5; ++d)  // difficulty d has 2 + d places filled
        for (int p = 1; p <= 2 + d; ++p)
            std::tie(game.fame.championName[d][p], game.fame.championDate[d][p], game.fame.championTime[d][p]) =
                std::tuple("N" + std::to_string(d) + std::to_string(p), "1.2.2024",
                           "00:0" + std::to_string(p) + ":00.0");
    game.fame.championTime[2][2] = "9 gelöscht";  // a time beginning with 9 marks an empty place
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    game.settings.difficulty = 4;
    std::vector<HeadlessPlatform::Form> seen;  // the dialog after NEIN and after JA
    auto look = [&] {
        pf.pushStep([&] { seen.push_back(pf.findForm("ruhm") ? *pf.findForm("ruhm") : HeadlessPlatform::Form{}); });
    };
    pf.pushStep([this] { pf.selectTab(pf.forms.begin()->first, "tbs1", 2); });  // Mittel
    pf.messageBoxAnswers = {2, 1};
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&NEIN": nothing happens
    look();
    pf.pushStep([] {  // meanwhile another game in the same folder sets a record at Leicht
        const FameState mine = game.fame;
        game.fame.championName[0][1] = "Anderes Spiel";
        ASSERT_EQ(saveChampions(), FileResult::Ok);
        game.fame = mine;
    });
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&JA"
    look();
    pf.pushFormEvent("ruhm", "ruhm_Close");  // the close box acts like OK
    showHallOfFame();
    EXPECT_TRUE(pf.script.empty() && pf.forms.empty() && pf.windowEnabled);
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Wirklich löschen?", "Wirklich löschen?"}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].rows["lv3"], (std::vector<std::vector<std::string>>{{" 1.", "N21", "1.2.2024", "00:01:00.0"},
                                                                          {" 3.", "N23", "1.2.2024", "00:03:00.0"},
                                                                          {" 4.", "N24", "1.2.2024", "00:04:00.0"}}));
    EXPECT_EQ(std::make_pair(seen[0].rows["lv2"].size(), seen[1].rows["lv2"].size()), std::make_pair(3ul, 0ul));
    EXPECT_EQ(seen[1].tabs["tbs1"], 5) << "the current difficulty, not the cleared tab";
    auto names = game.fame.championName;  // only Mittel changed, in memory and on disk
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(game.fame.championName, names);
    EXPECT_EQ(game.fame.championTime[1][1] + game.fame.championName[0][2] + game.fame.championName[2][4], "9N02N24");
    EXPECT_EQ(game.fame.championName[0][1], "Anderes Spiel");
}

}  // namespace
}  // namespace nonari
