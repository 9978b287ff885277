// The record check: which place a time earns, the name form, and what reaches the file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "fame/record_check.h"
#include "tests/support/test_support.h"

namespace nonari {
namespace {

std::string minutes(int m) { return std::string("00:") + (m < 10 ? "0" : "") + std::to_string(m) + ":00.0"; }
using Rows = std::vector<std::vector<std::string>>;

class RecordCheckTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(100, 50, 862, 694);
        EXPECT_EQ(loadChampions(), FileResult::Missing);
    }

    // Wins with that time; a name form, when `handler` is given, must offer `offered` and is left by that
    // handler with `name` typed. Returns the rows the hall of fame then showed for the current difficulty.
    Rows win(const std::string& time, const std::string& handler = "", const std::string& offered = "",
             const std::string& name = "") {
        if (!handler.empty()) {
            pf.pushStep([=, this] {
                ASSERT_NE(pf.findForm("champ"), nullptr);
                EXPECT_EQ(pf.findForm("champ")->texts["ed1"], offered) << "the last confirmed name is offered";
                pf.findForm("champ")->texts["ed1"] = name;
            });
            pf.pushFormEvent("champ", handler);
        }
        Rows rows;
        pf.pushStep([&, this] {
            ASSERT_TRUE(pf.findForm("ruhm") && !pf.findForm("champ"));
            rows = pf.findForm("ruhm")->rows["lv" + std::to_string(game.settings.difficulty + 1)];
        });
        pf.pushFormEvent("ruhm", "cmd3_Click");
        game.clock.finalTime = time;
        checkForRecord();
        EXPECT_TRUE(pf.script.empty() && pf.forms.empty() && pf.windowEnabled);
        return rows;
    }
};

TEST_F(RecordCheckTest, PlacesOnAnEmptyAndAFullListAndWhatStoresNothing) {
    game.settings.difficulty = 2;  // a first win on an empty list is stored as shown
    EXPECT_EQ(win("00:04:05.6", "cmd5_Click", "", "Erika"), (Rows{{" 1.", "Erika", todayText(), "00:04:05.6"}}));
    auto tables = std::tuple(game.fame.championName, game.fame.championDate, game.fame.championTime);
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(std::tuple(game.fame.championName, game.fame.championDate, game.fame.championTime), tables);

    game.settings.difficulty = 0;
    FameState& fame = game.fame;
    for (int p = 1; p <= 10; ++p)
        std::tie(fame.championName[0][p], fame.championTime[0][p]) = std::tuple("P" + std::to_string(p), minutes(p));
    ASSERT_EQ(saveChampions(), FileResult::Ok);  // the check reads the lists as they are on disk
    auto rows = win(minutes(3), "cmd5_Click", "Erika", "Gleich");  // equal to place 3: goes behind it
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[2][1] + rows[3][1] + rows[4][1] + rows[9][1], "P3GleichP4P9") << "the old place 10 drops out";

    // Slower than all ten: no name form, the list still shown. A name cancelled or closed: nothing
    // stored, and the last confirmed name is kept for the next form.
    const auto before = test::readBytes(championsFile);
    const auto names = game.fame.championName, times = game.fame.championTime;
    EXPECT_EQ(win("00:59:00.0").size(), 10u);
    for (const char* handler : {"cmd6_Click", "champ_Close"}) {
        EXPECT_EQ(win("00:00:30.0", handler, "Gleich", "Verworfen").at(0).at(1), "P1") << handler;
        EXPECT_FALSE(game.fame.nameConfirmed);
    }
    EXPECT_EQ(std::tie(game.fame.championName, game.fame.championTime), std::tie(names, times));
    EXPECT_EQ(test::readBytes(championsFile), before);
}

}  // namespace
}  // namespace nonari
