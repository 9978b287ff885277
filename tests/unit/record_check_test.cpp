// The champions file (its 150-line layout, files of any line end, Windows-1252 names), the record check (which place
// a time earns, the name form, what reaches the file) and the hall-of-fame dialog.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

// Ten entries of difficulty d whose names tell difficulty and place apart.
std::string placeName(int d, int p) { return "S" + std::to_string(d * 100 + p); }
std::string blockLines(int d, const std::string& end = "\r\n") {
    std::string text;
    for (int p = 1; p <= 10; ++p)
        text += placeName(d, p) + end + "1.2.2024" + end + "00:00:0" + std::to_string(p - 1) + end;
    return text;
}

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

TEST_F(RecordCheckTest, TheFileHoldsAllLinesInWindows1252AndCrLfAndIsReadInAnyLineEnd) {
    EXPECT_FALSE(std::filesystem::exists(championsFile)) << "a missing file reads as empty lists and is not made";
    game.fame.championName[1][1] = "Jürgen €\r\nStraße\n日🙂";  // a line break would shift every later entry
    game.fame.championTime[1][1] = "00:12:34.5";
    game.fame.championDate[1][1] = "3.4.2024";
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    std::string expected;
    for (int place = 0; place < 50; ++place) expected += "\r\n\r\n9\r\n";  // 150 lines, empty places
    expected.replace(10 * 7, 7, "J\xFCrgen \x80  Stra\xDF" "e ??\r\n3.4.2024\r\n00:12:34.5\r\n");
    EXPECT_EQ(test::readBytes(championsFile), std::vector<unsigned char>(expected.begin(), expected.end()));
    auto names = game.fame.championName, dates = game.fame.championDate, times = game.fame.championTime;
    names[1][1] = "Jürgen €  Straße ??";
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    const FameState& fame = game.fame;
    EXPECT_EQ(std::tie(fame.championName, fame.championDate, fame.championTime), std::tie(names, dates, times));
    std::string all;  // every byte survives both ways; broken sequences, overlong forms and surrogates do not
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToWindows1252("x\xC3(\xFF\xE2\x82y\xC0\xAF\xED\xA0\x80"), "x?(???y?????");

    // 120 lines in four line ends, CR CR LF being CR LF converted twice on its way between systems; the rest is
    // emptied, and a save writes it in CR LF.
    std::string text = blockLines(0, "\n") + blockLines(1, "\r") + blockLines(2) + blockLines(3, "\r\r\n");
    test::writeBytes(championsFile, {text.begin(), text.end()});
    for (auto& list : game.fame.championTime) list.fill("alt");
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p)
            EXPECT_EQ(game.fame.championName[d][p] + "|" + game.fame.championTime[d][p],
                      d < 4 ? placeName(d, p) + "|00:00:0" + std::to_string(p - 1) : "|9");
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    text = blockLines(0) + blockLines(1) + blockLines(2) + blockLines(3);
    for (int p = 1; p <= 10; ++p) text += "\r\n\r\n9\r\n";
    EXPECT_EQ(test::readBytes(championsFile), std::vector<unsigned char>(text.begin(), text.end()));
    text = "\r\n1.2.2024\r\n00:00:01.0\r\n";  // an empty name
    test::writeBytes(championsFile, {text.begin(), text.end()});
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(game.fame.championName[0][1] + "|" + game.fame.championTime[0][1], "|00:00:01.0");
}

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
    // Beating only the last of the ten still makes a record at place 10.
    EXPECT_EQ(win("00:08:30.0", "cmd5_Click", "Gleich", "Zehnter").at(9).at(1), "Zehnter");

    // Slower than all ten: no name form, the list still shown. A name cancelled or closed: nothing
    // stored, and the last confirmed name is kept for the next form.
    const auto before = test::readBytes(championsFile);
    const auto names = game.fame.championName, times = game.fame.championTime;
    EXPECT_EQ(win("00:59:00.0").size(), 10u);
    for (const char* handler : {"cmd6_Click", "champ_Close"}) {
        EXPECT_EQ(win("00:00:30.0", handler, "Zehnter", "Verworfen").at(0).at(1), "P1") << handler;
        EXPECT_FALSE(game.fame.nameConfirmed);
    }
    EXPECT_EQ(std::tie(game.fame.championName, game.fame.championTime), std::tie(names, times));
    EXPECT_EQ(test::readBytes(championsFile), before);

    // A name the file cannot hold is refused with a word; the form stays open with it for a change.
    pf.pushStep([this] { pf.findForm("champ")->texts["ed1"] = "Li 李 😀 Ære"; });
    pf.pushFormEvent("champ", "cmd5_Click");
    EXPECT_EQ(win("00:00:20.0", "cmd5_Click", "Li 李 😀 Ære", "Li Ære").at(0).at(1), "Li Ære");
    EXPECT_EQ(pf.messages.back(), "Der Name enthält Zeichen, die die Ruhmeshalle nicht speichern kann: 李 😀\n"
                                  "Bitte ändern Sie den Namen.");
}

TEST_F(RecordCheckTest, HallOfFameListsShowFilledPlacesOnTheCurrentTabAndDeleteClearsOnlyTheChosenTabAfterJa) {
    for (int d = 0; d < 5; ++d)  // difficulty d has 2 + d places filled
        for (int p = 1; p <= 2 + d; ++p)
            std::tie(game.fame.championName[d][p], game.fame.championDate[d][p], game.fame.championTime[d][p]) =
                std::tuple("N" + std::to_string(d) + std::to_string(p), "1.2.2024",
                           "00:0" + std::to_string(p) + ":00.0");
    game.fame.championTime[2][2] = "9 gelöscht";  // a time beginning with 9 marks an empty place
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    game.settings.difficulty = 3;
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
    EXPECT_EQ(seen[0].rows["lv3"], (Rows{{" 1.", "N21", "1.2.2024", "00:01:00.0"}, {" 3.", "N23", "1.2.2024", "00:03:00.0"},
                                         {" 4.", "N24", "1.2.2024", "00:04:00.0"}}));
    EXPECT_EQ(std::make_pair(seen[0].rows["lv2"].size(), seen[1].rows["lv2"].size()), std::make_pair(3ul, 0ul));
    EXPECT_EQ(seen[1].tabs["tbs1"], 4) << "the current difficulty, not the cleared tab";
    auto names = game.fame.championName;  // only Mittel changed, in memory and on disk
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(game.fame.championName, names);
    EXPECT_EQ(game.fame.championTime[1][1] + game.fame.championName[0][2] + game.fame.championName[2][4], "9N02N24");
    EXPECT_EQ(game.fame.championName[0][1], "Anderes Spiel");
}

}  // namespace
}  // namespace nonari
