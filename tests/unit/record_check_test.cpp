// The record check: which place a time earns, the name form, and what reaches the file.
#include "fame/champions_file.h"
#include "fame/record_check.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

std::string minutes(int m) { return std::string("00:") + (m < 10 ? "0" : "") + std::to_string(m) + ":00.0"; }

class RecordCheckTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(100, 50, 862, 694);
        loadChampions();
    }

    // Ten entries at minutes 1..10, stored in the file.
    static void fillList(int d) {
        for (int p = 1; p <= 10; ++p) {
            game.championName[d][p] = "P" + std::to_string(p);
            game.championDate[d][p] = "1.1.2024";
            game.championTime[d][p] = minutes(p);
        }
        ASSERT_TRUE(saveChampions());
    }

    // Wins with that time; when a name form comes, checks what it offers, types the name and leaves
    // by the handler. Returns the rows the hall of fame then showed for the current difficulty.
    std::vector<std::vector<std::string>> win(const std::string& time, const std::string& offered = "",
                                              const std::string& name = "", const std::string& handler = "") {
        if (!handler.empty()) {
            pf.pushStep([=, this] {
                auto* form = pf.findForm("champ");
                ASSERT_NE(form, nullptr);
                EXPECT_EQ(std::make_pair(form->x, form->y), std::make_pair(100 + 177, 50 + 234));
                EXPECT_EQ(form->texts["ed1"], offered);
                EXPECT_EQ(form->focus, "ed1");
                form->texts["ed1"] = name;
            });
            pf.pushFormEvent("champ", handler);
        }
        std::vector<std::vector<std::string>> rows;
        bool shown = false;
        pf.pushStep([&, this] {
            EXPECT_EQ(pf.findForm("champ"), nullptr);
            ASSERT_NE(pf.findForm("ruhm"), nullptr);
            shown = true;
            rows = pf.findForm("ruhm")->rows["lv" + std::to_string(game.difficulty + 1)];
        });
        pf.pushFormEvent("ruhm", "cmd3_Click");
        game.finalTime = time;
        checkForRecord();
        EXPECT_TRUE(shown);
        EXPECT_TRUE(pf.script.empty());
        EXPECT_TRUE(pf.forms.empty());
        EXPECT_TRUE(pf.windowEnabled);
        return rows;
    }
};

TEST_F(RecordCheckTest, ConfirmedNamesAreStoredAndOfferedAgain) {
    game.difficulty = 2;
    auto rows = win("00:04:05.6", "", "Erika", "cmd5_Click");
    EXPECT_TRUE(game.nameConfirmed);
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{" 1.", "Erika", todayText(), "00:04:05.6"}}));
    EXPECT_EQ(game.championTime[2][2], "9");

    // A cancelled name is not remembered; a confirmed empty one is, and goes in front of Erika.
    win("00:04:00.0", "Erika", "Max", "cmd6_Click");
    win("00:03:00.0", "Erika", "", "cmd5_Click");
    win("00:02:00.0", "", "Zwei\nZeilen", "cmd5_Click");
    auto tables = std::tuple(game.championName, game.championDate, game.championTime);
    loadChampions();
    EXPECT_EQ(std::tuple(game.championName, game.championDate, game.championTime), tables);
    EXPECT_EQ(game.championName[2][1], "Zwei Zeilen");
    EXPECT_EQ(game.championName[2][2], "");
    EXPECT_EQ(game.championName[2][3], "Erika");
    EXPECT_EQ(game.championTime[2][4], "9");
}

TEST_F(RecordCheckTest, NewTimeGoesBehindEqualTimesAndPushesOutPlaceTen) {
    fillList(0);
    auto rows = win("00:02:30.0", "", "Neu", "cmd5_Click");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[2][1], "Neu");
    EXPECT_EQ(rows[9], (std::vector<std::string>{"10.", "P9", "1.1.2024", minutes(9)}));

    win(minutes(3), "Neu", "Gleich", "cmd5_Click");  // equal to place 4 (the old place 3)
    EXPECT_EQ(game.championName[0][4], "P3");
    EXPECT_EQ(game.championName[0][5], "Gleich");
    EXPECT_EQ(game.championName[0][6], "P4");
    for (int p = 2; p <= 10; ++p) EXPECT_LE(game.championTime[0][p - 1], game.championTime[0][p]);

    // Slower than all ten, or equal to place 10: no name form, nothing stored, the list still shown.
    auto before = test::readBytes(championsFile);
    auto names = game.championName;
    EXPECT_EQ(win("00:59:00.0").size(), 10u);
    win(game.championTime[0][10]);
    EXPECT_FALSE(game.nameConfirmed);
    EXPECT_EQ(game.championName, names);
    EXPECT_EQ(test::readBytes(championsFile), before);
}

TEST_F(RecordCheckTest, CancelAndCloseBoxStoreNothing) {
    fillList(1);
    game.difficulty = 1;
    auto before = test::readBytes(championsFile);
    auto names = game.championName;
    auto times = game.championTime;
    for (const char* handler : {"cmd6_Click", "champ_Close"}) {
        SCOPED_TRACE(handler);
        auto rows = win("00:00:30.0", "", "Verworfen", handler);
        EXPECT_FALSE(game.nameConfirmed);
        EXPECT_EQ(game.lastChampionName, "");
        EXPECT_EQ(game.championName, names);
        EXPECT_EQ(game.championTime, times);
        EXPECT_EQ(test::readBytes(championsFile), before);
        ASSERT_EQ(rows.size(), 10u);
        EXPECT_EQ(rows[0][1], "P1");
    }
}

}  // namespace
}  // namespace nonari
