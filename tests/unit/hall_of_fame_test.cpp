// The hall-of-fame dialog: its lists and tabs, clearing one list, and the ways it closes.
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

namespace fs = std::filesystem;

class HallOfFameTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(200, 100, 862, 694);
        resetChampions();
    }

    static void setEntry(int d, int p, const std::string& name, const std::string& time) {
        game.championName[d][p] = name;
        game.championDate[d][p] = "2." + std::to_string(p) + ".2024";
        game.championTime[d][p] = time;
    }

    // Five lists with different numbers of entries, stored in the file.
    static void fillAllLists() {
        for (int d = 0; d < 5; ++d)
            for (int p = 1; p <= 2 + d; ++p) setEntry(d, p, "N" + std::to_string(d) + std::to_string(p), "00:0" + std::to_string(p) + ":00.0");
        ASSERT_TRUE(saveChampions());
    }

    struct Seen {
        std::map<std::string, std::vector<std::vector<std::string>>> rows;
        int tab = 0;
        int x = 0, y = 0;
        bool open = false;
    };

    // Takes a look at the open dialog when the script reaches this step.
    void look(Seen& seen) {
        pf.pushStep([this, &seen] {
            auto* form = pf.findForm("ruhm");
            ASSERT_NE(form, nullptr);
            seen.open = true;
            seen.rows = form->rows;
            seen.tab = form->tabs["tbs1"];
            seen.x = form->x;
            seen.y = form->y;
        });
    }

    void chooseTab(int tab) {
        pf.pushStep([this, tab] {
            for (auto& [id, form] : pf.forms)
                if (form.spec.name == "ruhm") pf.selectTab(id, "tbs1", tab);
        });
    }

    void expectClosedCleanly() {
        EXPECT_TRUE(pf.script.empty());
        EXPECT_TRUE(pf.forms.empty());
        EXPECT_TRUE(pf.windowEnabled);
        EXPECT_TRUE(game.dialogClosed);
    }
};

TEST_F(HallOfFameTest, FormHasFiveTabsOfFourColumns) {
    FormSpec form = hallOfFameForm();
    EXPECT_EQ(form.name, "ruhm");
    EXPECT_EQ(form.caption, "Ruhmeshalle");
    EXPECT_EQ(form.fontFace, "Arial");
    EXPECT_EQ(form.width, 464);
    EXPECT_EQ(form.height, 357);
    int lists = 0;
    for (const auto& control : form.controls) {
        if (control.kind == ControlKind::TabStrip) {
            EXPECT_EQ(control.name, "tbs1");
            EXPECT_EQ(control.tabs, (std::vector<std::string>{"Leicht", "Mittel", "Schwer", "Extrem", "Teuflisch"}));
        }
        if (control.kind == ControlKind::ListView) {
            ++lists;
            EXPECT_EQ(control.name, "lv" + std::to_string(control.page));
            EXPECT_EQ(control.fontPoints, 12);
            ASSERT_EQ(control.columns.size(), 4u);
            const char* headers[] = {"#", "Name", "Datum", "Zeit"};
            int widths[] = {28, 207, 93, 90};  // 415, 3100, 1400 and 1345 twips
            for (int k = 0; k < 4; ++k) {
                EXPECT_EQ(control.columns[static_cast<std::size_t>(k)].header, headers[k]);
                EXPECT_EQ(control.columns[static_cast<std::size_t>(k)].width, widths[k]);
            }
        }
        if (control.name == "cmd3") {
            EXPECT_EQ(control.caption, "&OK");
        }
        if (control.name == "cmd4") {
            EXPECT_EQ(control.caption, "&Löschen");
        }
    }
    EXPECT_EQ(lists, 5);
    for (const char* handler : {"cmd3_Click", "cmd4_Click", "ruhm_Close"}) EXPECT_TRUE(form.handlers.count(handler)) << handler;
}

TEST_F(HallOfFameTest, ListsShowOnlyFilledPlacesInOrder) {
    Seen empty;
    look(empty);
    pf.pushFormEvent("ruhm", "cmd3_Click");
    showHallOfFame();
    expectClosedCleanly();
    ASSERT_TRUE(empty.open);
    EXPECT_EQ(empty.x, 200 + 68);
    EXPECT_EQ(empty.y, 100 + 136);
    for (int d = 1; d <= 5; ++d) EXPECT_TRUE(empty.rows["lv" + std::to_string(d)].empty()) << d;
    EXPECT_EQ(empty.tab, 1);

    setEntry(2, 1, "Anna", "00:01:00.0");
    setEntry(2, 2, "Bert", "00:02:00.0");
    setEntry(2, 3, "Cleo", "00:03:00.0");
    setEntry(2, 4, "Gelöscht", "9 gelöscht");  // a time beginning with 9 marks an empty place
    setEntry(2, 5, "Dora", "00:05:00.0");
    for (int p = 1; p <= 10; ++p) setEntry(4, p, "T" + std::to_string(p), "01:00:0" + std::to_string(p % 10) + ".0");
    game.difficulty = 3;
    Seen filled;
    look(filled);
    pf.pushFormEvent("ruhm", "ruhm_Close");  // the close box acts like OK
    showHallOfFame();
    expectClosedCleanly();
    EXPECT_EQ(filled.tab, 4);
    const auto& schwer = filled.rows["lv3"];
    ASSERT_EQ(schwer.size(), 4u);
    EXPECT_EQ(schwer[0], (std::vector<std::string>{" 1.", "Anna", "2.1.2024", "00:01:00.0"}));
    EXPECT_EQ(schwer[1][0], " 2.");
    EXPECT_EQ(schwer[2][1], "Cleo");
    EXPECT_EQ(schwer[3], (std::vector<std::string>{" 5.", "Dora", "2.5.2024", "00:05:00.0"}));
    const auto& teuflisch = filled.rows["lv5"];
    ASSERT_EQ(teuflisch.size(), 10u);
    EXPECT_EQ(teuflisch[8][0], " 9.");
    EXPECT_EQ(teuflisch[9][0], "10.");
    EXPECT_EQ(teuflisch[9][1], "T10");
    EXPECT_TRUE(filled.rows["lv1"].empty());
    EXPECT_FALSE(fs::exists(championsFile));  // showing and closing writes nothing
}

TEST_F(HallOfFameTest, DeleteAnsweredNoChangesNothing) {
    fillAllLists();
    auto before = test::readBytes(championsFile);
    auto names = game.championName;
    Seen after;
    chooseTab(2);
    pf.messageBoxAnswers.push_back(2);
    pf.pushFormEvent("ruhm", "cmd4_Click");
    look(after);  // still open
    pf.pushFormEvent("ruhm", "cmd3_Click");
    showHallOfFame();
    expectClosedCleanly();
    EXPECT_TRUE(after.open);
    EXPECT_EQ(after.rows["lv2"].size(), 3u);
    ASSERT_EQ(pf.messages, std::vector<std::string>{"Wirklich löschen?"});
    EXPECT_EQ(game.answer, 2);
    EXPECT_EQ(game.championName, names);
    EXPECT_EQ(test::readBytes(championsFile), before);
}

TEST_F(HallOfFameTest, DeleteAnsweredYesClearsTheChosenTabAndReopens) {
    fillAllLists();
    game.difficulty = 4;
    Seen first, reopened;
    look(first);
    chooseTab(2);  // Mittel, while the current difficulty is Teuflisch
    pf.messageBoxAnswers.push_back(1);
    pf.pushFormEvent("ruhm", "cmd4_Click");
    look(reopened);
    pf.pushFormEvent("ruhm", "cmd3_Click");
    showHallOfFame();
    expectClosedCleanly();

    EXPECT_EQ(first.tab, 5);
    EXPECT_EQ(first.rows["lv2"].size(), 3u);
    ASSERT_TRUE(reopened.open);
    EXPECT_EQ(reopened.tab, 5);
    EXPECT_TRUE(reopened.rows["lv2"].empty());
    EXPECT_EQ(reopened.rows["lv1"].size(), 2u);
    EXPECT_EQ(reopened.rows["lv5"].size(), 6u);

    // Only Mittel is empty, in memory and on disk.
    resetChampions();
    loadChampions();
    for (int p = 1; p <= 10; ++p) {
        EXPECT_EQ(game.championName[1][p], "");
        EXPECT_EQ(game.championDate[1][p], "");
        EXPECT_EQ(game.championTime[1][p], "9");
    }
    EXPECT_EQ(game.championName[0][2], "N02");
    EXPECT_EQ(game.championName[2][4], "N24");
    EXPECT_EQ(game.championTime[4][6], "00:06:00.0");
}

}  // namespace
}  // namespace nonari
