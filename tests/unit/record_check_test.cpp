// The record check: which place a time earns, the name form, and what reaches the file.
#include "fame/champions_file.h"
#include "fame/record_check.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

namespace fs = std::filesystem;

class RecordCheckTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(100, 50, 862, 694);
        loadChampions();
    }

    static std::string timeOfMinute(int minute) {
        return std::string("00:") + (minute < 10 ? "0" : "") + std::to_string(minute) + ":00.0";
    }

    // Ten entries in difficulty d at minutes 1..10, stored in the file.
    static void fillList(int d) {
        for (int p = 1; p <= 10; ++p) {
            game.championName[d][p] = "Spieler " + std::to_string(p);
            game.championDate[d][p] = "1.1.2024";
            game.championTime[d][p] = timeOfMinute(p);
        }
        ASSERT_TRUE(saveChampions());
    }

    // The name form: checks what it offers, types the name and leaves by the given handler.
    void answerNameForm(const std::string& expectOffered, const std::string& name,
                        const std::string& handler = "cmd5_Click") {
        pf.pushStep([this, expectOffered, name] {
            auto* form = pf.findForm("champ");
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->x, 100 + 177);
            EXPECT_EQ(form->y, 50 + 234);
            EXPECT_EQ(form->texts["ed1"], expectOffered);
            EXPECT_EQ(form->focus, "ed1");
            EXPECT_FALSE(pf.windowEnabled);
            form->texts["ed1"] = name;
        });
        pf.pushFormEvent("champ", handler);
    }

    // The hall of fame that follows every won game; records the rows of list d.
    void closeHallOfFame(int d) {
        pf.pushStep([this, d] {
            EXPECT_EQ(pf.findForm("champ"), nullptr);
            auto* form = pf.findForm("ruhm");
            ASSERT_NE(form, nullptr);
            shownRows = form->rows["lv" + std::to_string(d + 1)];
            shownTab = form->tabs["tbs1"];
            hallShown = true;
        });
        pf.pushFormEvent("ruhm", "cmd3_Click");
    }

    void win(const std::string& time) {
        game.finalTime = time;
        hallShown = false;
        shownRows.clear();
        checkForRecord();
        EXPECT_TRUE(hallShown);
        EXPECT_TRUE(pf.script.empty());
        EXPECT_TRUE(pf.forms.empty());
        EXPECT_TRUE(pf.windowEnabled);
    }

    std::vector<std::vector<std::string>> shownRows;
    int shownTab = 0;
    bool hallShown = false;
};

TEST_F(RecordCheckTest, FirstWinOnAnEmptyListTakesPlaceOne) {
    game.difficulty = 2;
    answerNameForm("", "Erika Mustermann");
    closeHallOfFame(2);
    win("00:04:05.6");

    EXPECT_TRUE(game.nameConfirmed);
    EXPECT_EQ(game.lastChampionName, "Erika Mustermann");
    EXPECT_EQ(game.championName[2][1], "Erika Mustermann");
    EXPECT_EQ(game.championDate[2][1], todayText());
    EXPECT_EQ(game.championTime[2][1], "00:04:05.6");
    EXPECT_EQ(game.championTime[2][2], "9");
    ASSERT_TRUE(fs::exists(championsFile));
    ASSERT_EQ(shownRows.size(), 1u);
    EXPECT_EQ(shownRows[0], (std::vector<std::string>{" 1.", "Erika Mustermann", todayText(), "00:04:05.6"}));
    EXPECT_EQ(shownTab, 3);

    // What is on disk is what the tables hold.
    auto tables = std::tuple(game.championName, game.championDate, game.championTime);
    resetChampions();
    loadChampions();
    EXPECT_EQ(std::tuple(game.championName, game.championDate, game.championTime), tables);
}

TEST_F(RecordCheckTest, FasterGameOnAFullListDropsTheLastPlace) {
    fillList(0);
    answerNameForm("", "Neu");
    closeHallOfFame(0);
    win("00:02:30.0");

    EXPECT_EQ(game.championName[0][1], "Spieler 1");
    EXPECT_EQ(game.championName[0][2], "Spieler 2");
    EXPECT_EQ(game.championName[0][3], "Neu");
    EXPECT_EQ(game.championTime[0][3], "00:02:30.0");
    for (int p = 4; p <= 10; ++p) {
        EXPECT_EQ(game.championName[0][p], "Spieler " + std::to_string(p - 1));
        EXPECT_EQ(game.championTime[0][p], timeOfMinute(p - 1));
    }
    ASSERT_EQ(shownRows.size(), 10u);
    EXPECT_EQ(shownRows[9][0], "10.");
    EXPECT_EQ(shownRows[9][1], "Spieler 9");
    for (int p = 2; p <= 10; ++p) EXPECT_LE(game.championTime[0][p - 1], game.championTime[0][p]);
}

TEST_F(RecordCheckTest, EqualTimeGoesBehindAndSlowerTimeEarnsNothing) {
    fillList(4);
    game.difficulty = 4;
    answerNameForm("", "Gleich");
    closeHallOfFame(4);
    win(timeOfMinute(3));
    EXPECT_EQ(game.championName[4][3], "Spieler 3");
    EXPECT_EQ(game.championName[4][4], "Gleich");
    EXPECT_EQ(game.championName[4][5], "Spieler 4");

    // Slower than all ten: no name form, nothing stored, the hall of fame still shown.
    auto before = test::readBytes(championsFile);
    auto names = game.championName;
    closeHallOfFame(4);
    win("00:59:00.0");
    EXPECT_FALSE(game.nameConfirmed);
    EXPECT_EQ(game.championName, names);
    EXPECT_EQ(test::readBytes(championsFile), before);
    EXPECT_EQ(shownRows.size(), 10u);

    // An equal time at place 10 earns nothing either.
    closeHallOfFame(4);
    win(game.championTime[4][10]);
    EXPECT_EQ(game.championName, names);
}

TEST_F(RecordCheckTest, CancelAndCloseBoxStoreNothing) {
    fillList(1);
    game.difficulty = 1;
    auto before = test::readBytes(championsFile);
    auto names = game.championName;
    auto times = game.championTime;

    answerNameForm("", "Verworfen", "cmd6_Click");
    closeHallOfFame(1);
    win("00:00:30.0");
    EXPECT_FALSE(game.nameConfirmed);
    EXPECT_EQ(game.lastChampionName, "");
    EXPECT_EQ(game.championName, names);
    EXPECT_EQ(game.championTime, times);
    EXPECT_EQ(test::readBytes(championsFile), before);
    ASSERT_EQ(shownRows.size(), 10u);
    EXPECT_EQ(shownRows[0][1], "Spieler 1");

    answerNameForm("", "Auch verworfen", "champ_Close");
    closeHallOfFame(1);
    win("00:00:30.0");
    EXPECT_FALSE(game.nameConfirmed);
    EXPECT_EQ(game.lastChampionName, "");
    EXPECT_EQ(game.championName, names);
    EXPECT_EQ(test::readBytes(championsFile), before);
}

TEST_F(RecordCheckTest, LaterRecordsOfferTheLastConfirmedName) {
    answerNameForm("", "Max");
    closeHallOfFame(0);
    win("00:05:00.0");

    // Cancelled: the name typed then is not remembered.
    answerNameForm("Max", "Moritz", "cmd6_Click");
    closeHallOfFame(0);
    win("00:04:00.0");

    // Confirmed empty: stored as an empty name, and offered next time.
    answerNameForm("Max", "");
    closeHallOfFame(0);
    win("00:03:00.0");
    EXPECT_EQ(game.championName[0][1], "");
    EXPECT_EQ(game.championTime[0][1], "00:03:00.0");
    EXPECT_EQ(game.championName[0][2], "Max");
    EXPECT_EQ(game.championTime[0][3], "9");

    answerNameForm("", "Zwei\r\nZeilen");
    closeHallOfFame(0);
    win("00:02:00.0");
    EXPECT_EQ(game.championName[0][1], "Zwei  Zeilen");
    loadChampions();
    EXPECT_EQ(game.championName[0][1], "Zwei  Zeilen");
    EXPECT_EQ(game.championName[0][3], "Max");
}

}  // namespace
}  // namespace nonari
