// The record check: which place a time earns, the name form, and what reaches the file.
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
        loadChampions();
    }

    // Ten entries at minutes 1..10, stored in the file.
    static void fillList(int d) {
        for (int p = 1; p <= 10; ++p)
            std::tie(game.championName[d][p], game.championDate[d][p], game.championTime[d][p]) =
                std::tuple("P" + std::to_string(p), "1.1.2024", minutes(p));
        ASSERT_TRUE(saveChampions());
    }

    // Wins with that time; when a name form comes, checks what it offers, types the name and leaves
    // by the handler. Returns the rows the hall of fame then showed for the current difficulty.
    Rows win(const std::string& time, const std::string& offered = "", const std::string& name = "",
             const std::string& handler = "") {
        if (!handler.empty()) {
            pf.pushStep([=, this] {
                auto* form = pf.findForm("champ");
                ASSERT_NE(form, nullptr);
                EXPECT_EQ(std::make_tuple(form->x, form->y, form->texts["ed1"], form->focus),
                          std::make_tuple(100 + 177, 50 + 234, offered, std::string("ed1")));
                form->texts["ed1"] = name;
            });
            pf.pushFormEvent("champ", handler);
        }
        Rows rows;
        bool shown = false;
        pf.pushStep([&, this] {
            auto* ruhm = pf.findForm("ruhm");
            ASSERT_TRUE(ruhm && !pf.findForm("champ"));
            shown = true;
            rows = ruhm->rows["lv" + std::to_string(game.difficulty + 1)];
        });
        pf.pushFormEvent("ruhm", "cmd3_Click");
        game.finalTime = time;
        checkForRecord();
        EXPECT_TRUE(shown && pf.script.empty() && pf.forms.empty() && pf.windowEnabled);
        return rows;
    }
};

TEST_F(RecordCheckTest, ConfirmedNamesAreStoredAndOfferedAgain) {
    game.difficulty = 2;
    auto rows = win("00:04:05.6", "", "Erika", "cmd5_Click");  // the first win of an empty list
    EXPECT_TRUE(game.nameConfirmed && game.championTime[2][2] == "9");
    EXPECT_EQ(rows, (Rows{{" 1.", "Erika", todayText(), "00:04:05.6"}}));

    // A cancelled name is not remembered; a confirmed empty one is, and goes in front of Erika.
    win("00:04:00.0", "Erika", "Max", "cmd6_Click");
    win("00:03:00.0", "Erika", "", "cmd5_Click");
    win("00:02:00.0", "", "Zwei\nZeilen", "cmd5_Click");
    auto tables = std::tuple(game.championName, game.championDate, game.championTime);
    loadChampions();
    EXPECT_EQ(std::tuple(game.championName, game.championDate, game.championTime), tables);
    EXPECT_EQ(std::vector(game.championName[2].begin() + 1, game.championName[2].begin() + 5),
              (std::vector<std::string>{"Zwei Zeilen", "", "Erika", ""}));
    EXPECT_EQ(game.championTime[2][4], "9");
}

TEST_F(RecordCheckTest, PlacesOnAFullListAndWhatStoresNothing) {
    fillList(0);
    auto rows = win(minutes(3), "", "Gleich", "cmd5_Click");  // equal to place 3: goes behind it
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[2][1] + rows[3][1] + rows[4][1], "P3GleichP4");
    EXPECT_EQ(rows[9], (std::vector<std::string>{"10.", "P9", "1.1.2024", minutes(9)})) << "the old place 10 drops out";

    // Slower than all ten or equal to place 10: no name form, the list still shown. A name cancelled or
    // closed: nothing stored, and the last confirmed name is kept for the next form.
    const auto before = test::readBytes(championsFile);
    const auto names = game.championName, times = game.championTime;
    EXPECT_EQ(win("00:59:00.0").size(), 10u);
    win(minutes(9));
    for (const char* handler : {"cmd6_Click", "champ_Close"}) {
        EXPECT_EQ(win("00:00:30.0", "Gleich", "Verworfen", handler)[0][1], "P1") << handler;
        EXPECT_TRUE(!game.nameConfirmed && game.lastChampionName == "Gleich");
    }
    EXPECT_EQ(std::tie(game.championName, game.championTime), std::tie(names, times));
    EXPECT_EQ(test::readBytes(championsFile), before);
}

}  // namespace
}  // namespace nonari
