// The hall-of-fame dialog: its lists and tabs, clearing one list, and the ways it closes.
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string minutesText(int m) { return std::string("00:") + (m < 10 ? "0" : "") + std::to_string(m) + ":00.0"; }

class HallOfFameTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(200, 100, 862, 694);
        resetChampions();
    }

    static void setEntry(int d, int p, const std::string& name, const std::string& time) {
        game.championName[d][p] = name;
        game.championDate[d][p] = std::to_string(p) + ".2.2024";
        game.championTime[d][p] = time;
    }

    struct Seen {
        std::map<std::string, Rows> rows;
        int tab = 0;
        bool open = false;
    };

    // Takes a look at the open dialog when the script reaches this step.
    void look(Seen& seen) {
        pf.pushStep([this, &seen] {
            auto* form = pf.findForm("ruhm");
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(std::make_pair(form->x, form->y), std::make_pair(200 + 68, 100 + 136));
            seen = {form->rows, form->tabs["tbs1"], true};
        });
    }

    void show() {
        showHallOfFame();
        EXPECT_TRUE(pf.script.empty());
        EXPECT_TRUE(pf.forms.empty());
        EXPECT_TRUE(pf.windowEnabled);
    }
};

TEST_F(HallOfFameTest, ListsShowOnlyFilledPlacesOnTheCurrentTab) {
    Seen empty;
    look(empty);
    pf.pushFormEvent("ruhm", "cmd3_Click");
    show();
    ASSERT_TRUE(empty.open);
    for (int d = 1; d <= 5; ++d) EXPECT_TRUE(empty.rows["lv" + std::to_string(d)].empty()) << d;
    EXPECT_EQ(empty.tab, 1);

    setEntry(2, 1, "Anna", "00:01:00.0");
    setEntry(2, 2, "Bert", "00:02:00.0");
    setEntry(2, 3, "Weg", "9 gelöscht");  // a time beginning with 9 marks an empty place
    setEntry(2, 4, "Dora", "00:04:00.0");
    for (int p = 1; p <= 10; ++p) setEntry(4, p, "T" + std::to_string(p), minutesText(p));
    game.difficulty = 3;
    Seen filled;
    look(filled);
    pf.pushFormEvent("ruhm", "ruhm_Close");  // the close box acts like OK
    show();
    EXPECT_EQ(filled.tab, 4);
    EXPECT_EQ(filled.rows["lv3"], (Rows{{" 1.", "Anna", "1.2.2024", "00:01:00.0"},
                                        {" 2.", "Bert", "2.2.2024", "00:02:00.0"},
                                        {" 4.", "Dora", "4.2.2024", "00:04:00.0"}}));
    ASSERT_EQ(filled.rows["lv5"].size(), 10u);
    EXPECT_EQ(filled.rows["lv5"][8][0], " 9.");
    EXPECT_EQ(filled.rows["lv5"][9][0], "10.");
    EXPECT_TRUE(filled.rows["lv1"].empty());
    EXPECT_FALSE(std::filesystem::exists(championsFile));  // showing writes nothing
}

TEST_F(HallOfFameTest, DeleteClearsOnlyTheChosenTabAfterYes) {
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 2 + d; ++p) setEntry(d, p, "N" + std::to_string(d) + std::to_string(p), minutesText(p));
    ASSERT_TRUE(saveChampions());
    auto before = test::readBytes(championsFile);
    game.difficulty = 4;
    auto chooseMittel = [this] {
        pf.pushStep([this] {
            for (auto& [id, form] : pf.forms) pf.selectTab(id, "tbs1", 2);
        });
    };

    Seen afterNo, reopened;
    chooseMittel();
    pf.messageBoxAnswers = {2, 1};
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&NEIN": nothing happens
    look(afterNo);
    pf.pushStep([] { EXPECT_EQ(game.championName[1][1], "N11"); });
    pf.pushFormEvent("ruhm", "cmd4_Click");  // "&JA"
    look(reopened);
    pf.pushFormEvent("ruhm", "cmd3_Click");
    show();
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Wirklich löschen?", "Wirklich löschen?"}));
    EXPECT_EQ(afterNo.rows["lv2"].size(), 3u);
    ASSERT_TRUE(reopened.open);
    EXPECT_EQ(reopened.tab, 5);  // the current difficulty, not the cleared tab
    EXPECT_TRUE(reopened.rows["lv2"].empty());
    EXPECT_EQ(reopened.rows["lv5"].size(), 6u);

    // Only Mittel changed, in memory and on disk.
    auto names = game.championName;
    loadChampions();
    EXPECT_EQ(game.championName, names);
    EXPECT_EQ(game.championTime[1][1], "9");
    EXPECT_EQ(game.championName[0][2], "N02");
    EXPECT_EQ(game.championName[2][4], "N24");
    EXPECT_NE(test::readBytes(championsFile), before);
}

}  // namespace
}  // namespace nonari
