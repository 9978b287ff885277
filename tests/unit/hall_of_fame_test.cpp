// The hall-of-fame dialog: its lists and tabs, clearing one list, and the ways it closes.
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class HallOfFameTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(200, 100, 862, 694);
        resetChampions();
    }
    static void setEntry(int d, int p, const std::string& name, int minutes) {
        game.championName[d][p] = name;
        game.championDate[d][p] = std::to_string(p) + ".2.2024";
        game.championTime[d][p] = "00:" + std::string(minutes < 10 ? "0" : "") + std::to_string(minutes) + ":00.0";
    }
    // Copies the open dialog when the script reaches this step.
    void look(HeadlessPlatform::Form& seen) {
        pf.pushStep([this, &seen] { seen = pf.findForm("ruhm") ? *pf.findForm("ruhm") : HeadlessPlatform::Form{}; });
    }
    void show() {
        showHallOfFame();
        EXPECT_TRUE(pf.script.empty() && pf.forms.empty() && pf.windowEnabled);
    }
};

TEST_F(HallOfFameTest, ListsShowOnlyFilledPlacesOnTheCurrentTab) {
    HeadlessPlatform::Form filled;
    const char* names[] = {"Anna", "Bert", "Weg", "Dora"};
    for (int p = 1; p <= 4; ++p) setEntry(2, p, names[p - 1], p);
    game.championTime[2][3] = "9 gelöscht";  // a time beginning with 9 marks an empty place
    for (int p = 1; p <= 10; ++p) setEntry(4, p, "T" + std::to_string(p), p);
    game.difficulty = 3;
    look(filled);
    pf.pushFormEvent("ruhm", "ruhm_Close");  // the close box acts like OK
    show();
    EXPECT_EQ(std::make_tuple(filled.x, filled.y, filled.tabs["tbs1"]), std::make_tuple(200 + 68, 100 + 136, 4));
    EXPECT_EQ(filled.rows["lv3"], (Rows{{" 1.", "Anna", "1.2.2024", "00:01:00.0"},
                                        {" 2.", "Bert", "2.2.2024", "00:02:00.0"},
                                        {" 4.", "Dora", "4.2.2024", "00:04:00.0"}}));
    ASSERT_EQ(filled.rows["lv5"].size(), 10u);
    EXPECT_EQ(filled.rows["lv5"][8][0] + filled.rows["lv5"][9][0], " 9.10.");
    EXPECT_TRUE(filled.rows["lv1"].empty() && filled.rows["lv2"].empty() && filled.rows["lv4"].empty());
    EXPECT_FALSE(std::filesystem::exists(championsFile)) << "showing writes nothing";
}

TEST_F(HallOfFameTest, DeleteClearsOnlyTheChosenTabAfterJa) {
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 2 + d; ++p) setEntry(d, p, "N" + std::to_string(d) + std::to_string(p), p);
    ASSERT_TRUE(saveChampions());
    game.difficulty = 4;
    HeadlessPlatform::Form afterNein, reopened;
    pf.pushStep([this] { pf.selectTab(pf.forms.begin()->first, "tbs1", 2); });  // Mittel
    pf.messageBoxAnswers = {2, 1};
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&NEIN": nothing happens
    look(afterNein);
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&JA"
    look(reopened);
    pf.pushFormEvent("ruhm", "cmd3_Click");
    show();
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Wirklich löschen?", "Wirklich löschen?"}));
    EXPECT_EQ(std::make_tuple(afterNein.rows["lv2"].size(), reopened.rows["lv2"].size(), reopened.rows["lv5"].size()),
              std::make_tuple(std::size_t{3}, std::size_t{0}, std::size_t{6}));
    EXPECT_EQ(reopened.tabs["tbs1"], 5) << "the current difficulty, not the cleared tab";
    // Only Mittel changed, in memory and on disk.
    auto names = game.championName;
    loadChampions();
    EXPECT_EQ(game.championName, names);
    EXPECT_EQ(game.championTime[1][1] + game.championName[0][2] + game.championName[2][4], "9N02N24");
}

}  // namespace
}  // namespace nonari
